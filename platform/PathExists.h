#pragma once

#include "platform/ByteString.h"

// Whether anything exists at the path (a file or a folder), following links.
bool PathFileExists(const CString& strPath);
