#include "cli/JsonText.h"

#include <cstdint>

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto b0 = static_cast<std::uint8_t>(text[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        std::size_t nLen = 0;
        std::uint32_t cp = 0;
        std::uint32_t cpMin = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            nLen = 2;
            cp = b0 & 0x1Fu;
            cpMin = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            nLen = 3;
            cp = b0 & 0x0Fu;
            cpMin = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            nLen = 4;
            cp = b0 & 0x07u;
            cpMin = 0x10000;
        } else {
            return false; // a continuation byte, C0, C1 or F5 and above
        }
        if (n - i < nLen)
            return false;
        for (std::size_t k = 1; k < nLen; ++k) {
            const auto b = static_cast<std::uint8_t>(text[i + k]);
            if ((b & 0xC0u) != 0x80u)
                return false;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        if (cp < cpMin || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += nLen;
    }
    return true;
}

std::string JsonQuote(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        switch (ch) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (b < 0x20) {
                out += "\\u00";
                out += kHex[b >> 4];
                out += kHex[b & 0x0F];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonPath(std::string_view path) {
    if (IsValidUtf8(path))
        return JsonQuote(path);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "{\"hex\":\"";
    out.reserve(out.size() + 2 * path.size() + 2);
    for (const char ch : path) {
        const auto b = static_cast<unsigned char>(ch);
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
    }
    out += "\"}";
    return out;
}
