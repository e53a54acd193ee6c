// Paths and texts are plain byte strings: no encoding is assumed or converted anywhere, so a
// file name that is not valid UTF-8 travels through the program unchanged.
#pragma once

#include <string>

using CString = std::string;

// printf-style formatting into a new string.
CString CStringFormat(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

// Position of the last occurrence of ch in str, or -1.
int ReverseFind(const CString& str, char ch);
