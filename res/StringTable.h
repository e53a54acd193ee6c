// The program's string table.
#pragma once

#include "platform/ByteString.h"

// The string with the identifier, or an empty string for an unknown one.
CString LoadResourceString(int nID);
