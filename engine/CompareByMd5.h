// Method 3, "MD5 Checksum": duplicates have the same MD5 digest. Files are ordered by the
// lowercase hexadecimal text of their digests; sizes play no part.
#pragma once

#include "platform/ByteString.h"

// Both files are read whole, the looked-up one first. A file without a digest (it cannot be
// opened or read) gives -1 on either side; the representative is not read when the looked-up
// file has none.
int CompareByMd5(const CString& path, const CString& representative);
