#include "cli/FileContent.h"

#include "engine/Crc32.h"
#include "engine/Md5.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <unistd.h>

namespace {

constexpr std::size_t kPageSize = 4096;

// Four independent lanes of multiply and rotate over 8-byte words, mixed at the end. Every
// block but the last must be a multiple of 32 bytes.
class CHash64 {
public:
    void Update(const unsigned char* p, std::size_t n) {
        std::size_t i = 0;
        for (; i + 32 <= n; i += 32) {
            for (int k = 0; k < 4; ++k) {
                std::uint64_t word;
                std::memcpy(&word, p + i + 8 * k, 8);
                m_lanes[k] = Mix(m_lanes[k], word);
            }
        }
        for (; i < n; ++i)
            m_lanes[i % 4] = Mix(m_lanes[i % 4], p[i]);
    }
    std::uint64_t Final(std::int64_t nSize) const {
        std::uint64_t h = static_cast<std::uint64_t>(nSize);
        for (const std::uint64_t lane : m_lanes)
            h = Mix(h ^ lane, lane);
        return h ^ (h >> 29);
    }

private:
    static constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
    static constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
    static std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
        lane += word * kPrime2;
        lane = (lane << 31) | (lane >> 33);
        return lane * kPrime1;
    }
    std::uint64_t m_lanes[4] = {kPrime1, kPrime2, ~kPrime1, ~kPrime2};
};

// Feeds the file, block by block, to fnBlock; fails unless exactly nSize bytes come. Every
// block is filled before it is handed on, so the blocks are the same however the system
// splits the reads: only the last one is short.
template <typename FnBlock>
bool ReadBlocks(const CFileRef& ref, std::int64_t nSize, CAlignedBuffer& buffer,
                FnBlock&& fnBlock) {
    CFileHandle file;
    if (!OpenForReading(ref, nSize, file))
        return false;
    std::int64_t nTotal = 0;
    for (;;) {
        const std::int64_t nFilled = ReadUpTo(file, buffer.Data(), buffer.Size());
        if (nFilled < 0)
            return false;
        nTotal += nFilled;
        if (nTotal > nSize)
            return false;
        if (nFilled > 0)
            fnBlock(buffer.Data(), static_cast<std::size_t>(nFilled));
        if (static_cast<std::size_t>(nFilled) < buffer.Size())
            break;
    }
    return nTotal == nSize;
}

} // namespace

void CAlignedBuffer::CFree::operator()(unsigned char* p) const {
    std::free(p);
}

CAlignedBuffer::CAlignedBuffer(std::size_t nBytes)
    : m_nBytes(std::max(kPageSize, (nBytes + kPageSize - 1) / kPageSize * kPageSize)) {
    m_pData.reset(static_cast<unsigned char*>(std::aligned_alloc(kPageSize, m_nBytes)));
    if (!m_pData)
        throw std::bad_alloc();
}

std::int64_t ReadUpTo(CFileHandle& file, unsigned char* pInto, std::size_t nBytes) {
    std::size_t nTotal = 0;
    while (nTotal < nBytes) {
        std::size_t nRead = 0;
        if (file.Read(pInto + nTotal, nBytes - nTotal, nRead) != ERROR_SUCCESS)
            return -1;
        if (nRead == 0)
            break;
        nTotal += nRead;
    }
    return static_cast<std::int64_t>(nTotal);
}

bool AtEnd(CFileHandle& file) {
    unsigned char byte = 0;
    return ReadUpTo(file, &byte, 1) == 0;
}

bool OpenForReading(const CFileRef& ref, std::int64_t nSize, CFileHandle& file) {
    const int fd = openat(ref.nDirFd, ref.strName.c_str(),
                          O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    file = CFileHandle(fd);
    // Read-ahead advice costs a call; it pays only for files of many blocks.
    constexpr std::int64_t kSequentialFrom = 256 << 10;
    if (nSize >= kSequentialFrom)
        posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool PrefixHash64(const CFileRef& ref, std::int64_t nSize, std::size_t nPrefix,
                  CAlignedBuffer& buffer, std::uint64_t& nHash) {
    CFileHandle file;
    if (!OpenForReading(ref, nSize, file))
        return false;
    const std::size_t nWant =
        static_cast<std::size_t>(std::min<std::int64_t>(nSize, static_cast<std::int64_t>(nPrefix)));
    if (ReadUpTo(file, buffer.Data(), nWant) != static_cast<std::int64_t>(nWant))
        return false;
    // A file read whole must end where the walk saw its end.
    if (static_cast<std::int64_t>(nWant) == nSize && !AtEnd(file))
        return false;
    CHash64 hash;
    hash.Update(buffer.Data(), nWant);
    nHash = hash.Final(nSize);
    return true;
}

bool FileCrc32(const CFileRef& ref, std::int64_t nSize, const CCrc32& crc32, std::uint32_t& crc) {
    CFileHandle file;
    if (!OpenForReading(ref, nSize, file) || crc32.HandleCrc(file, crc) != ERROR_SUCCESS)
        return false;
    // HandleCrc reads to the end: the end must be where the walk saw it.
    return lseek(file.Get(), 0, SEEK_CUR) == nSize;
}

bool FileMd5(const CFileRef& ref, std::int64_t nSize, CAlignedBuffer& buffer, CMd5Digest& digest) {
    Md5Context context;
    context.Init();
    const bool bOk =
        ReadBlocks(ref, nSize, buffer, [&context](const unsigned char* p, std::size_t n) {
            context.Update(p, static_cast<std::uint32_t>(n));
        });
    context.Final();
    std::memcpy(digest.data(), context.digest, digest.size());
    return bOk;
}

bool FileHash64(const CFileRef& ref, std::int64_t nSize, CAlignedBuffer& buffer,
                std::uint64_t& nHash) {
    CHash64 hash;
    const bool bOk = ReadBlocks(
        ref, nSize, buffer, [&hash](const unsigned char* p, std::size_t n) { hash.Update(p, n); });
    nHash = hash.Final(nSize);
    return bOk;
}
