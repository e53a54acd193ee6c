#include "engine/Crc32.h"

#include "engine/Crc32Kernels.h"

#include <cstddef>
#include <new>

namespace {

constexpr std::uint32_t CRC_POLYNOMIAL = 0xEDB88320u;
// Reads go through one page-aligned block; a large block means few system calls.
constexpr std::size_t CRC_BLOCK = 64 * 1024;

} // namespace

void CCrc32::BuildTable() {
    ReleaseTable();
    m_table.reset(new (std::nothrow) std::uint32_t[256]);
    if (!m_table)
        return;
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t v = i;
        for (int nBit = 0; nBit < 8; ++nBit)
            v = (v & 1u) ? (v >> 1) ^ CRC_POLYNOMIAL : v >> 1;
        m_table[i] = v;
    }
}

DWORD CCrc32::FileCrc(const char* pszPath, std::uint32_t& crc) const {
    crc = 0;
    if (!m_table)
        return ERROR_CRC;
    // POSIX has no share modes: a file that another process has open for writing is opened
    // and read here like any other.
    CFileHandle file;
    if (const DWORD dwError = file.Open(pszPath, true))
        return dwError;
    return HandleCrc(file, crc);
}

DWORD CCrc32::HandleCrc(CFileHandle& file, std::uint32_t& crc) const {
    crc = 0;
    if (!m_table)
        return ERROR_CRC;
    const std::uint32_t* pTable = m_table.get();
    alignas(4096) unsigned char block[CRC_BLOCK];
    std::uint32_t nRunning = 0xFFFFFFFFu;
    for (;;) {
        std::size_t nRead = 0;
        if (const DWORD dwError = file.Read(block, sizeof block, nRead))
            return dwError;
        if (nRead == 0)
            break;
        // The bulk through the fastest kernel the processor allows, the rest a byte at a time
        // through the table.
        std::size_t i = Crc32Clmul(nRunning, block, nRead);
        if (i == 0)
            i = Crc32Slices(nRunning, block, nRead);
        for (; i < nRead; ++i)
            nRunning = (nRunning >> 8) ^ pTable[(nRunning ^ block[i]) & 0xFFu];
    }
    crc = ~nRunning;
    return ERROR_SUCCESS;
}
