// Method 2, "Byte by Byte comparision": duplicates have the same size and the same bytes.
// Files are ordered by size first, then by content read as a string of unsigned bytes.
#pragma once

#include "platform/ByteString.h"

// Both files are read through read-only mappings (see CMappedFile). A file that cannot be
// opened or mapped (missing, unreadable, empty) is never a duplicate and sorts after every file
// that can: 1 when it is the looked-up file, -1 when it is the representative. A comparison
// that fails after both files are open gives 1, as does a file that shrinks while it is
// compared. Files of different sizes are never read.
int CompareByBytes(const CString& path, const CString& representative);
