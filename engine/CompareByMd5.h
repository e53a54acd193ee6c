#pragma once

#include "platform/ByteString.h"

int CompareByMd5(const CString& path, const CString& representative);
