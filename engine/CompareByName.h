#pragma once

#include "platform/ByteString.h"

// The file name of a path: the text after its last "\" or "/", or the whole path when it holds
// neither. Both separators count, so names taken from paths of either platform agree.
const char* FileNameOf(const CString& path);

// Method 0: compares the two file names byte by byte as unsigned values, case-sensitively.
// Folders, sizes and contents play no part, and no file is opened.
int CompareByName(const CString& path, const CString& representative);
