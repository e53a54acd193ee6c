// MD5 digests as text: 32 lowercase hexadecimal digits, two per digest byte in digest order.
// Compared as strings, such texts sort as the digests themselves do as unsigned bytes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>

struct CFreeDeleter {
    void operator()(char* psz) const { std::free(psz); }
};
// A NUL-terminated text allocated with malloc, freed with free; null when there is none.
using CDigestText = std::unique_ptr<char, CFreeDeleter>;

// The text of 16 digest bytes; null when there is no memory for it.
CDigestText DigestToHex(const unsigned char* pDigest);

// The digest of the file at pszPath, read from start to end; null when there is no digest: the
// file cannot be opened, a read fails (a digest of part of the file is never reported as the
// file's), or there is no memory for the text.
CDigestText Md5FileHex(const char* pszPath);
// The same for an open stream, read from its current position to its end; it stays open.
CDigestText Md5StreamHex(std::FILE* pFile);
