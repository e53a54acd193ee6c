// The comparison of the search: one entry point, CompareFiles, that decides under the chosen
// method whether two files are duplicates and, when they are not, which sorts first.
//
// Results are -1 (the looked-up file sorts before the representative), 0 (duplicates) or 1.
// The looked-up file is always the first argument. Every call stands alone: nothing learnt
// about a file survives to the next call.
#pragma once

#include "platform/ByteString.h"

// The method of the search: 0 file name only, 1 CRC-32 and size, 2 byte by byte, 3 MD5.
// Written by the front end before it starts a search, read by CompareFiles on every call.
extern int CompareMethod;

enum : int {
    METHOD_NAME = 0,
    METHOD_SIZE_CRC = 1,
    METHOD_BYTES = 2,
    METHOD_MD5 = 3,
};

// Dispatches on CompareMethod as it is at this call; any value outside 0 to 3 gives 1 at once,
// so no two files are ever duplicates and no file is touched.
int CompareFiles(const CString& path, const CString& representative);
