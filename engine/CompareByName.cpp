#include "engine/CompareByName.h"

#include <cstring>

const char* FileNameOf(const CString& path) {
    // A plain backward scan: the name is short and at the end, and this runs for both paths of
    // every comparison of a name search.
    const char* pszPath = path.c_str();
    std::size_t nStart = path.size();
    while (nStart > 0 && pszPath[nStart - 1] != '/' && pszPath[nStart - 1] != '\\')
        --nStart;
    return pszPath + nStart;
}

int CompareByName(const CString& path, const CString& representative) {
    // strcmp compares as unsigned char, so bytes above 0x7F sort after all of ASCII.
    const int nResult = std::strcmp(FileNameOf(path), FileNameOf(representative));
    return nResult < 0 ? -1 : (nResult > 0 ? 1 : 0);
}
