#include "platform/ByteString.h"

#include <cstdarg>
#include <cstdio>

CString CStringFormat(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list argsCopy;
    va_copy(argsCopy, args);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, argsCopy);
    va_end(argsCopy);
    CString str;
    if (nLength > 0) {
        str.resize(static_cast<size_t>(nLength));
        std::vsnprintf(str.data(), str.size() + 1, pszFormat, args);
    }
    va_end(args);
    return str;
}

int ReverseFind(const CString& str, char ch) {
    const size_t nPos = str.rfind(ch);
    return nPos == CString::npos ? -1 : static_cast<int>(nPos);
}
