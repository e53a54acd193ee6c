#pragma once

#include "platform/ByteString.h"

int CompareBySizeCrc(const CString& path, const CString& representative);
