// The standard CRC-32 (IEEE 802.3: reflected polynomial 0xEDB88320, initial value 0xFFFFFFFF,
// final complement) of a whole file.
#pragma once

#include "platform/ErrorCodes.h"
#include "platform/FileHandle.h"

#include <cstdint>
#include <memory>

class CCrc32 {
public:
    CCrc32() = default;
    CCrc32(const CCrc32&) = delete;
    CCrc32& operator=(const CCrc32&) = delete;
    virtual ~CCrc32() { ReleaseTable(); }

    // Replaces any table with a newly built one. Without memory for it the object stays
    // without table, and FileCrc then fails with ERROR_CRC.
    void BuildTable();
    // Frees the table; harmless when there is none.
    void ReleaseTable() { m_table.reset(); }
    bool HasTable() const { return m_table != nullptr; }

    // The CRC of the whole file at pszPath. Returns ERROR_SUCCESS with the CRC in crc, or the
    // error code of the failure with crc 0: ERROR_CRC without a table, the open's error when
    // the file cannot be opened, the read's error when a read fails part-way (a CRC of part
    // of the file is never reported as the file's).
    DWORD FileCrc(const char* pszPath, std::uint32_t& crc) const;
    // The same over an already open file, read from its current position to its end.
    DWORD HandleCrc(CFileHandle& file, std::uint32_t& crc) const;

private:
    std::unique_ptr<std::uint32_t[]> m_table;
};
