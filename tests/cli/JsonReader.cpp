#include "tests/cli/JsonReader.h"

#include <stdexcept>

namespace {

class CParser {
public:
    explicit CParser(const std::string& text) : m_text(text) {}

    CJsonValue Document() {
        CJsonValue value = Value();
        SkipSpace();
        if (m_nPos != m_text.size())
            Fail("text after the document");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& strWhy) const {
        throw std::runtime_error(std::string("JSON: ") + strWhy + std::string(" at ") +
                                 std::to_string(m_nPos));
    }
    void SkipSpace() {
        while (m_nPos < m_text.size() && (m_text[m_nPos] == ' ' || m_text[m_nPos] == '\n' ||
                                          m_text[m_nPos] == '\r' || m_text[m_nPos] == '\t'))
            ++m_nPos;
    }
    char Peek() {
        SkipSpace();
        if (m_nPos >= m_text.size())
            Fail("unexpected end");
        return m_text[m_nPos];
    }
    void Expect(char ch) {
        if (Peek() != ch)
            Fail(std::string("expected '") + ch + "'");
        ++m_nPos;
    }
    bool TakeWord(const char* pszWord) {
        const std::string word(pszWord);
        if (m_text.compare(m_nPos, word.size(), word) != 0)
            return false;
        m_nPos += word.size();
        return true;
    }

    CJsonValue Value() {
        CJsonValue value;
        const char ch = Peek();
        if (ch == '{') {
            value.kind = CJsonValue::Kind::Object;
            ++m_nPos;
            if (Peek() == '}') {
                ++m_nPos;
                return value;
            }
            for (;;) {
                if (Peek() != '"')
                    Fail("expected a key");
                std::string strKey = String();
                Expect(':');
                value.members.emplace_back(std::move(strKey), Value());
                if (Peek() == ',') {
                    ++m_nPos;
                    continue;
                }
                Expect('}');
                return value;
            }
        }
        if (ch == '[') {
            value.kind = CJsonValue::Kind::Array;
            ++m_nPos;
            if (Peek() == ']') {
                ++m_nPos;
                return value;
            }
            for (;;) {
                value.items.push_back(Value());
                if (Peek() == ',') {
                    ++m_nPos;
                    continue;
                }
                Expect(']');
                return value;
            }
        }
        if (ch == '"') {
            value.kind = CJsonValue::Kind::String;
            value.strValue = String();
            return value;
        }
        if (TakeWord("true")) {
            value.kind = CJsonValue::Kind::Bool;
            value.bValue = true;
            return value;
        }
        if (TakeWord("false")) {
            value.kind = CJsonValue::Kind::Bool;
            return value;
        }
        if (TakeWord("null"))
            return value;
        return Number();
    }

    CJsonValue Number() {
        CJsonValue value;
        value.kind = CJsonValue::Kind::Number;
        const std::size_t nStart = m_nPos;
        if (m_text[m_nPos] == '-')
            ++m_nPos;
        if (m_nPos >= m_text.size() || m_text[m_nPos] < '0' || m_text[m_nPos] > '9')
            Fail("bad value");
        if (m_text[m_nPos] == '0' && m_nPos + 1 < m_text.size() && m_text[m_nPos + 1] >= '0' &&
            m_text[m_nPos + 1] <= '9')
            Fail("leading zero");
        while (m_nPos < m_text.size() && m_text[m_nPos] >= '0' && m_text[m_nPos] <= '9')
            ++m_nPos;
        value.nValue = std::stoll(m_text.substr(nStart, m_nPos - nStart));
        return value;
    }

    unsigned Hex4() {
        if (m_nPos + 4 > m_text.size())
            Fail("short \\u escape");
        unsigned n = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_nPos++];
            n <<= 4;
            if (c >= '0' && c <= '9')
                n |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                n |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                n |= static_cast<unsigned>(c - 'A' + 10);
            else
                Fail("bad \\u escape");
        }
        return n;
    }

    static void AppendUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (m_nPos >= m_text.size())
                Fail("unterminated string");
            const char ch = m_text[m_nPos++];
            if (ch == '"')
                return out;
            if (static_cast<unsigned char>(ch) < 0x20)
                Fail("raw control character in a string");
            if (ch != '\\') {
                out += ch;
                continue;
            }
            if (m_nPos >= m_text.size())
                Fail("unterminated escape");
            const char esc = m_text[m_nPos++];
            switch (esc) {
            case '"':
            case '\\':
            case '/':
                out += esc;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned cp = Hex4();
                if (cp >= 0xD800 && cp <= 0xDBFF) {
                    if (!TakeWord("\\u"))
                        Fail("lone high surrogate");
                    const unsigned low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail("bad low surrogate");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
                    Fail("lone low surrogate");
                }
                AppendUtf8(out, cp);
                break;
            }
            default:
                Fail("bad escape");
            }
        }
    }

    const std::string& m_text;
    std::size_t m_nPos = 0;
};

} // namespace

const CJsonValue& CJsonValue::operator[](const std::string& strKey) const {
    if (kind != Kind::Object)
        throw std::runtime_error("JSON: not an object");
    for (const auto& [strName, value] : members)
        if (strName == strKey)
            return value;
    throw std::runtime_error(std::string("JSON: no member ") + strKey);
}

bool CJsonValue::Has(const std::string& strKey) const {
    for (const auto& member : members)
        if (member.first == strKey)
            return true;
    return false;
}

CJsonValue ParseJson(const std::string& strText) {
    return CParser(strText).Document();
}
