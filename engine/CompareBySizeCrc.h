// Method 1, "CRC32 + File size": duplicates have the same size and the same CRC-32. Files are
// ordered by size first, then by CRC as an unsigned value.
#pragma once

#include "platform/ByteString.h"

// Sizes are taken as signed 64-bit values, so files of 2 GiB and more compare like any other.
// An empty or unmeasurable file sorts first when looked up (-1) and last as the representative
// (1); a file that cannot be opened does the same. When a CRC cannot be computed (no table, an
// open or read that fails) the result is 1. Files of different sizes are never read.
int CompareBySizeCrc(const CString& path, const CString& representative);
