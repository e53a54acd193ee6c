// Reading files for the grouped engine: sequential reads in page-aligned blocks, each file
// read from start to end at most once per question asked about it. A file that cannot be
// opened or read, or whose size is no longer the size the walk saw, gives no answer.
#pragma once

#include "platform/ByteString.h"
#include "platform/FileHandle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <string>

class CCrc32;

// Where a file is: its name relative to an open folder, or (with AT_FDCWD) its full path.
struct CFileRef {
    int nDirFd = AT_FDCWD;
    CString strName;
};

// A page-aligned block of memory.
class CAlignedBuffer {
public:
    explicit CAlignedBuffer(std::size_t nBytes);
    unsigned char* Data() { return m_pData.get(); }
    const unsigned char* Data() const { return m_pData.get(); }
    std::size_t Size() const { return m_nBytes; }

private:
    struct CFree {
        void operator()(unsigned char* p) const;
    };
    std::unique_ptr<unsigned char, CFree> m_pData;
    std::size_t m_nBytes;
};

// Reads until nBytes are in or the file ends; the number of bytes read, or -1 on an error.
std::int64_t ReadUpTo(CFileHandle& file, unsigned char* pInto, std::size_t nBytes);

// Whether the file has nothing more to read: a file that grew since the walk saw its size
// has changed.
bool AtEnd(CFileHandle& file);

// Opens a file of nSize bytes for reading from start to end. The open never waits (on a FIFO
// that took the file's place, say) and never makes a terminal the controlling one.
bool OpenForReading(const CFileRef& ref, std::int64_t nSize, CFileHandle& file);

// A 64-bit hash (as FileHash64 computes it) of the first min(nSize, nPrefix) bytes of a file
// of nSize bytes; nPrefix is a multiple of 32 no larger than the buffer.
bool PrefixHash64(const CFileRef& ref, std::int64_t nSize, std::size_t nPrefix,
                  CAlignedBuffer& buffer, std::uint64_t& nHash);

// The file's CRC-32, by the same CCrc32 as the comparison method.
bool FileCrc32(const CFileRef& ref, std::int64_t nSize, const CCrc32& crc32, std::uint32_t& crc);

using CMd5Digest = std::array<unsigned char, 16>;
// The file's MD5 digest, by the same Md5Context as the comparison method.
bool FileMd5(const CFileRef& ref, std::int64_t nSize, CAlignedBuffer& buffer, CMd5Digest& digest);

// A fast 64-bit hash of the whole file, to split large families of same-size files before
// they are compared byte by byte. Not a proof of equality.
bool FileHash64(const CFileRef& ref, std::int64_t nSize, CAlignedBuffer& buffer,
                std::uint64_t& nHash);
