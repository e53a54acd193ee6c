// Reading files for the grouped engine: sequential reads in page-aligned blocks, each file
// read from start to end at most once per question asked about it. A file that cannot be
// opened or read, or whose size is no longer the size the walk saw, gives no answer.
#pragma once

#include "platform/ByteString.h"
#include "platform/FileHandle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CCrc32;

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

// Reads exactly nBytes, or fails (an error, or the file ended first).
bool ReadExactly(CFileHandle& file, unsigned char* pInto, std::size_t nBytes);

// Opens the file for a sequential read and checks that it still has the expected size.
bool OpenWithSize(const CString& strPath, std::int64_t nSize, CFileHandle& file);

// The first min(nSize, nPrefix) bytes of a file of nSize bytes.
bool ReadPrefix(const CString& strPath, std::int64_t nSize, std::size_t nPrefix,
                std::string& strPrefix);

// The file's CRC-32, by the same CCrc32 as the comparison method.
bool FileCrc32(const CString& strPath, std::int64_t nSize, const CCrc32& crc32, std::uint32_t& crc);

using CMd5Digest = std::array<unsigned char, 16>;
// The file's MD5 digest, by the same Md5Context as the comparison method.
bool FileMd5(const CString& strPath, std::int64_t nSize, CAlignedBuffer& buffer,
             CMd5Digest& digest);

// A fast 64-bit hash of the whole file, to split large families of same-size files before
// they are compared byte by byte. Not a proof of equality.
bool FileHash64(const CString& strPath, std::int64_t nSize, CAlignedBuffer& buffer,
                std::uint64_t& nHash);
