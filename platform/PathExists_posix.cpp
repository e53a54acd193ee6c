#include <sys/stat.h>

#include "platform/PathExists.h"

bool PathFileExists(const CString& strPath) {
    struct stat st {};
    return !strPath.empty() && stat(strPath.c_str(), &st) == 0;
}
