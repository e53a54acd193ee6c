#include "engine/CompareByMd5.h"

#include "engine/Md5Hex.h"

#include <cstring>

int CompareByMd5(const CString& path, const CString& representative) {
    const CDigestText pText = Md5FileHex(path.c_str());
    if (!pText)
        return -1;
    // A file without a digest sorts before every file with one, on either side, so the index
    // stays in one order and the binary search still finds every readable duplicate.
    const CDigestText pRepresentativeText = Md5FileHex(representative.c_str());
    if (!pRepresentativeText)
        return 1;
    // strcmp compares as unsigned bytes, so a digit sorts before a letter.
    const int nResult = std::strcmp(pText.get(), pRepresentativeText.get());
    return nResult < 0 ? -1 : (nResult > 0 ? 1 : 0);
}
