// The pieces of JSON text that twinsift-cli writes: strings and paths.
//
// Paths are bytes. A path that is valid UTF-8 becomes a JSON string; any other path becomes
// an object {"hex": "..."} with its bytes in lowercase hexadecimal, so that no path is
// changed or lost on its way through the document.
#pragma once

#include <string>
#include <string_view>

// Whether the bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool IsValidUtf8(std::string_view text);

// A JSON string literal (with its quotes) of valid UTF-8 text; quotes, backslashes and control
// characters are escaped, everything else is copied as it is.
std::string JsonQuote(std::string_view utf8);

// The path as a JSON value, by the rule above.
std::string JsonPath(std::string_view path);
