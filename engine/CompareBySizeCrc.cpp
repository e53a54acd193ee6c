#include "engine/CompareBySizeCrc.h"

#include "engine/Crc32.h"
#include "platform/FileHandle.h"

#include <cstdint>

namespace {

// The size of a regular file as its open finds it, or -1 when it cannot be opened. Nothing is
// read, so files of different sizes are never read.
std::int64_t SizeOf(const CString& path) {
    CFileHandle file;
    std::int64_t nSize = 0;
    return file.Open(path.c_str(), false, &nSize) == ERROR_SUCCESS ? nSize : -1;
}

// The CRC of one file with a table of its own, as every comparison builds it anew.
DWORD CrcOf(const CString& path, std::uint32_t& crc) {
    CCrc32 crc32;
    crc32.BuildTable();
    const DWORD dwResult = crc32.FileCrc(path.c_str(), crc);
    crc32.ReleaseTable();
    return dwResult;
}

} // namespace

int CompareBySizeCrc(const CString& path, const CString& representative) {
    // A file that cannot be opened, or is empty, sorts first on either side.
    const std::int64_t nSize = SizeOf(path);
    if (nSize <= 0)
        return -1;
    const std::int64_t nRepresentativeSize = SizeOf(representative);
    if (nRepresentativeSize <= 0)
        return 1;
    if (nSize != nRepresentativeSize)
        return nSize > nRepresentativeSize ? 1 : -1;

    // A file whose CRC cannot be computed sorts first on either side, like a file that cannot
    // be opened, so the index stays in one order.
    std::uint32_t crc = 0;
    if (CrcOf(path, crc) != ERROR_SUCCESS)
        return -1;
    std::uint32_t representativeCrc = 0;
    if (CrcOf(representative, representativeCrc) != ERROR_SUCCESS)
        return 1;
    if (crc == representativeCrc)
        return 0;
    return crc > representativeCrc ? 1 : -1;
}
