#include "engine/CompareByName.h"

#include <cstring>

const char* FileNameOf(const CString& path) {
    const size_t nSeparator = path.find_last_of("\\/");
    return path.c_str() + (nSeparator == CString::npos ? 0 : nSeparator + 1);
}

int CompareByName(const CString& path, const CString& representative) {
    // strcmp compares as unsigned char, so bytes above 0x7F sort after all of ASCII.
    const int nResult = std::strcmp(FileNameOf(path), FileNameOf(representative));
    return nResult < 0 ? -1 : (nResult > 0 ? 1 : 0);
}
