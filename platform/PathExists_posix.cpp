#include "platform/PathExists.h"

#include <sys/stat.h>

bool PathFileExists(const CString& strPath) {
    struct stat st {};
    return !strPath.empty() && stat(strPath.c_str(), &st) == 0;
}
