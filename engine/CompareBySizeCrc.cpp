#include "engine/CompareBySizeCrc.h"

#include "engine/Crc32.h"
#include "platform/FileHandle.h"

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

// The size of the file at its end, or -1 when it cannot be told. The stream is unbuffered:
// a buffered seek to the end reads the file's last block, and the size step reads nothing.
std::int64_t StreamSize(std::FILE* pFile) {
    if (std::setvbuf(pFile, nullptr, _IONBF, 0) != 0 || fseeko(pFile, 0, SEEK_END) != 0)
        return -1;
    return ftello(pFile);
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
    std::int64_t nSize = 0;
    std::int64_t nRepresentativeSize = 0;
    {
        CFileStream pFile = OpenRegularFileStream(path.c_str());
        if (!pFile)
            return -1;
        nSize = StreamSize(pFile.get());
        if (nSize <= 0)
            return -1;
        CFileStream pRepresentative = OpenRegularFileStream(representative.c_str());
        if (!pRepresentative)
            return 1;
        nRepresentativeSize = StreamSize(pRepresentative.get());
        if (nRepresentativeSize <= 0)
            return 1;
        // Both streams close here, before the files are opened again for their CRCs.
    }
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
