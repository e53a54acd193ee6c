#include "engine/Md5Hex.h"

#include "engine/Md5.h"
#include "platform/FileHandle.h"

#include <cstring>

namespace {

constexpr std::size_t MD5_BLOCK = 1024;
// The stream's own buffer: the 1024-byte reads are served from it, and it is refilled from the
// file in pieces this large, so that the system is asked once per 64 KiB.
constexpr std::size_t STREAM_BUFFER = 64 * 1024;

} // namespace

CDigestText DigestToHex(const unsigned char* pDigest) {
    static constexpr char DIGITS[] = "0123456789abcdef";
    char szText[33] = {};
    for (int i = 0; i < 16; ++i) {
        szText[2 * i] = DIGITS[pDigest[i] >> 4];
        szText[2 * i + 1] = DIGITS[pDigest[i] & 0x0F];
    }
    return CDigestText(strdup(szText));
}

CDigestText Md5StreamHex(std::FILE* pFile) {
    Md5Context context;
    context.Init();
    alignas(4096) unsigned char block[MD5_BLOCK];
    for (;;) {
        const std::size_t nRead = std::fread(block, 1, sizeof block, pFile);
        if (nRead == 0)
            break;
        context.Update(block, static_cast<std::uint32_t>(nRead));
    }
    // fread gives 0 both at the end and on an error; only the end makes a digest.
    const bool bFailed = std::ferror(pFile) != 0;
    context.Final();
    if (bFailed)
        return nullptr;
    return DigestToHex(context.digest);
}

CDigestText Md5FileHex(const char* pszPath) {
    try {
        // Declared before the stream, so that it outlives it.
        alignas(4096) char streamBuffer[STREAM_BUFFER];
        CFileStream pFile = OpenRegularFileStream(pszPath);
        if (!pFile)
            return nullptr;
        std::setvbuf(pFile.get(), streamBuffer, _IOFBF, sizeof streamBuffer);
        return Md5StreamHex(pFile.get());
    } catch (...) {
        return nullptr;
    }
}
