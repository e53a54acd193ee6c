// The native path separator, used wherever the program joins a folder and a name.
#pragma once

inline constexpr char g_chPathSeparator = '/';

#include "platform/ByteString.h"

// folder + separator + name, with no second separator when the folder already ends in one
// (a file-system root such as "/").
CString JoinPath(const CString& strFolder, const CString& strName);
