#include "cli/JsonText.h"

#include "tests/cli/JsonReader.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(JsonText, Utf8Validity) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"plain ascii", true},
        {"caf\xC3\xA9", true},       // U+00E9
        {"\xE2\x82\xAC", true},      // U+20AC
        {"\xF0\x9F\x98\x80", true},  // U+1F600
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF, the last code point
        {"\xED\x9F\xBF", true},      // U+D7FF, just below the surrogates
        {"\xFF", false},             // never in UTF-8
        {"\x80", false},             // lone continuation byte
        {"\xC3", false},             // truncated at the end
        {"\xC3("s, false},           // bad continuation
        {"\xC0\xAF", false},         // overlong '/'
        {"\xE0\x80\xAF", false},     // overlong, three bytes
        {"\xF0\x80\x80\xAF", false}, // overlong, four bytes
        {"\xED\xA0\x80", false},     // U+D800, a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\xF5\x80\x80\x80", false}, // lead byte out of range
        {"ok\xE2\x82", false},       // truncated three-byte form
        {"a\0b"s, true},             // a zero byte is a valid code point
    };
    for (const auto& [text, bValid] : cases) {
        SCOPED_TRACE(::testing::PrintToString(text));
        EXPECT_EQ(IsValidUtf8(text), bValid);
    }
}

TEST(JsonText, QuotedStringsReadBackUnchanged) {
    const std::string cases[] = {
        "",
        "a \"quoted\" name",
        "back\\slash",
        "tab\there, line\nbreak, return\r",
        "\x01\x1F\x7F",
        "caf\xC3\xA9 \xF0\x9F\x98\x80",
        "/slash/stays",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(::testing::PrintToString(text));
        const std::string strQuoted = JsonQuote(text);
        const CJsonValue value = ParseJson(strQuoted);
        ASSERT_EQ(value.kind, CJsonValue::Kind::String);
        EXPECT_EQ(value.strValue, text);
    }
    EXPECT_EQ(JsonQuote("a\x01"), "\"a\\u0001\"");
}

TEST(JsonText, PathsThatAreNotUtf8BecomeHex) {
    EXPECT_EQ(JsonPath("/tmp/a.txt"), "\"/tmp/a.txt\"");
    EXPECT_EQ(JsonPath("/d/\xFF\x00z"s), "{\"hex\":\"2f642fff007a\"}");
    const CJsonValue value = ParseJson(JsonPath("/\xC0\xAF"));
    ASSERT_EQ(value.kind, CJsonValue::Kind::Object);
    EXPECT_EQ(value["hex"].strValue, "2fc0af");
}

} // namespace
