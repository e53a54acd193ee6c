#pragma once

#include "platform/ByteString.h"

int CompareByBytes(const CString& path, const CString& representative);
