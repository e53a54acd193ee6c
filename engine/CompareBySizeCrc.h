// Method 1, "CRC32 + File size": duplicates have the same size and the same CRC-32. Files are
// ordered by size first, then by CRC as an unsigned value.
#pragma once

#include "platform/ByteString.h"

// Sizes are taken as signed 64-bit values, so files of 2 GiB and more compare like any other.
// A file that is empty, cannot be opened or measured, or whose CRC cannot be computed (no
// table, an open or read that fails) is never a duplicate and sorts before every other file:
// -1 when it is the looked-up file, 1 when it is the representative. Files of different sizes
// are never read.
int CompareBySizeCrc(const CString& path, const CString& representative);
