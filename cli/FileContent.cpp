#include "cli/FileContent.h"

#include "engine/Crc32.h"
#include "engine/Md5.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
constexpr std::size_t kPageSize = 4096;
} // namespace

void CAlignedBuffer::CFree::operator()(unsigned char* p) const {
    std::free(p);
}

CAlignedBuffer::CAlignedBuffer(std::size_t nBytes)
    : m_nBytes((nBytes + kPageSize - 1) / kPageSize * kPageSize) {
    if (m_nBytes == 0)
        m_nBytes = kPageSize;
    m_pData.reset(static_cast<unsigned char*>(std::aligned_alloc(kPageSize, m_nBytes)));
    if (!m_pData)
        throw std::bad_alloc();
}

bool ReadExactly(CFileHandle& file, unsigned char* pInto, std::size_t nBytes) {
    while (nBytes > 0) {
        std::size_t nRead = 0;
        if (file.Read(pInto, nBytes, nRead) != ERROR_SUCCESS || nRead == 0)
            return false;
        pInto += nRead;
        nBytes -= nRead;
    }
    return true;
}

bool OpenWithSize(const CString& strPath, std::int64_t nSize, CFileHandle& file) {
    std::int64_t nNow = 0;
    return file.Open(strPath.c_str(), true) == ERROR_SUCCESS &&
           file.GetSize(nNow) == ERROR_SUCCESS && nNow == nSize;
}

bool ReadPrefix(const CString& strPath, std::int64_t nSize, std::size_t nPrefix,
                std::string& strPrefix) {
    CFileHandle file;
    if (!OpenWithSize(strPath, nSize, file))
        return false;
    const std::size_t nBytes =
        static_cast<std::size_t>(std::min<std::int64_t>(nSize, static_cast<std::int64_t>(nPrefix)));
    strPrefix.resize(nBytes);
    return ReadExactly(file, reinterpret_cast<unsigned char*>(strPrefix.data()), nBytes);
}

bool FileCrc32(const CString& strPath, std::int64_t nSize, const CCrc32& crc32,
               std::uint32_t& crc) {
    CFileHandle file;
    if (!OpenWithSize(strPath, nSize, file))
        return false;
    return crc32.HandleCrc(file, crc) == ERROR_SUCCESS;
}

// Feeds the file, block by block, to fnBlock; fails unless exactly nSize bytes come.
template <typename FnBlock>
static bool ReadBlocks(const CString& strPath, std::int64_t nSize, CAlignedBuffer& buffer,
                       FnBlock&& fnBlock) {
    CFileHandle file;
    if (!OpenWithSize(strPath, nSize, file))
        return false;
    // Every block is filled before it is handed on, so the blocks are the same however the
    // system splits the reads: only the last one is short.
    std::int64_t nTotal = 0;
    bool bEnd = false;
    while (!bEnd) {
        std::size_t nFilled = 0;
        while (nFilled < buffer.Size()) {
            std::size_t nRead = 0;
            if (file.Read(buffer.Data() + nFilled, buffer.Size() - nFilled, nRead) != ERROR_SUCCESS)
                return false;
            if (nRead == 0) {
                bEnd = true;
                break;
            }
            nFilled += nRead;
        }
        nTotal += static_cast<std::int64_t>(nFilled);
        if (nTotal > nSize)
            return false;
        if (nFilled > 0)
            fnBlock(buffer.Data(), nFilled);
    }
    return nTotal == nSize;
}

bool FileMd5(const CString& strPath, std::int64_t nSize, CAlignedBuffer& buffer,
             CMd5Digest& digest) {
    Md5Context context;
    context.Init();
    const bool bOk =
        ReadBlocks(strPath, nSize, buffer, [&context](const unsigned char* p, std::size_t n) {
            context.Update(p, static_cast<std::uint32_t>(n));
        });
    context.Final();
    std::memcpy(digest.data(), context.digest, digest.size());
    return bOk;
}

bool FileHash64(const CString& strPath, std::int64_t nSize, CAlignedBuffer& buffer,
                std::uint64_t& nHash) {
    // Four independent lanes of multiply and rotate over 8-byte words, mixed at the end.
    constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
    constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
    std::uint64_t lanes[4] = {kPrime1, kPrime2, ~kPrime1, ~kPrime2};
    auto mix = [](std::uint64_t lane, std::uint64_t word) {
        lane += word * kPrime2;
        lane = (lane << 31) | (lane >> 33);
        return lane * kPrime1;
    };
    const bool bOk = ReadBlocks(strPath, nSize, buffer, [&](const unsigned char* p, std::size_t n) {
        std::size_t i = 0;
        for (; i + 32 <= n; i += 32) {
            for (int k = 0; k < 4; ++k) {
                std::uint64_t word;
                std::memcpy(&word, p + i + 8 * k, 8);
                lanes[k] = mix(lanes[k], word);
            }
        }
        // Only the last block of a file can end off a 32-byte boundary.
        for (; i < n; ++i)
            lanes[i % 4] = mix(lanes[i % 4], p[i]);
    });
    std::uint64_t h = static_cast<std::uint64_t>(nSize);
    for (const std::uint64_t lane : lanes)
        h = mix(h ^ lane, lane);
    nHash = h ^ (h >> 29);
    return bOk;
}
