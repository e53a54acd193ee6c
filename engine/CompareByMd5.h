// Method 3, "MD5 Checksum": duplicates have the same MD5 digest. Files are ordered by the
// lowercase hexadecimal text of their digests; sizes play no part.
#pragma once

#include "platform/ByteString.h"

// Both files are read whole, the looked-up one first. A file without a digest (it cannot be
// opened or read) is never a duplicate and sorts before every file with one: -1 when it is
// the looked-up file, 1 when it is the representative. The representative is not read when
// the looked-up file has no digest.
int CompareByMd5(const CString& path, const CString& representative);
