#include "engine/CompareByName.h"

#include "engine/CompareMethod.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct NameCase {
    const char* pszPath;
    const char* pszRepresentative;
    int nExpected;
};

class CompareByNameTable : public testing::TestWithParam<NameCase> {};

TEST_P(CompareByNameTable, ComparesFileNamesOnly) {
    const NameCase& c = GetParam();
    EXPECT_EQ(CompareByName(c.pszPath, c.pszRepresentative), c.nExpected);
    // The order is antisymmetric.
    EXPECT_EQ(CompareByName(c.pszRepresentative, c.pszPath), -c.nExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareByNameTable,
    testing::Values(
        // The same name in two folders.
        NameCase{"/a/x.txt", "/b/x.txt", 0}, NameCase{"C:\\a\\x.txt", "C:\\b\\x.txt", 0},
        // Case matters: 'A' (0x41) sorts before 'a' (0x61).
        NameCase{"/d/A.TXT", "/d/a.txt", -1}, NameCase{"/d/Readme", "/d/readme", -1},
        // Mixed separators: the later of the two counts.
        NameCase{"C:\\data/old\\x.txt", "/x.txt", 0}, NameCase{"D:/x.txt", "x.txt", 0},
        NameCase{"/dir\\y", "/other/y", 0},
        // No separator at all: the whole path is the name.
        NameCase{"abc", "abcd", -1}, NameCase{"abc", "abc", 0},
        // A folder named like the file does not matter.
        NameCase{"/abc/zzz", "/zzz/abc", 1},
        // Bytes above 0x7F sort after all of ASCII, as unsigned values.
        NameCase{"/d/\x80", "/d/\x7F", 1}, NameCase{"/d/\xE9t\xE9", "/d/zzz", 1},
        // A path ending in a separator has an empty name, which sorts first.
        NameCase{"/d/", "/d/a", -1}));

TEST(CompareFiles, DispatchesOnTheCurrentMethodAtEveryCall) {
    CTempDir dir;
    const std::string strA = dir.WriteFile("one/same.txt", "alpha");
    const std::string strB = dir.WriteFile("two/same.txt", "a different content");
    CompareMethod = METHOD_NAME;
    EXPECT_EQ(CompareFiles(strA, strB), 0);
    // Values outside 0 to 3 select no method: every pair sorts after, even a file with itself,
    // and a missing file makes no difference since nothing is opened.
    for (const int nMethod : {-1, 4, 1000}) {
        CompareMethod = nMethod;
        EXPECT_EQ(CompareFiles(strA, strA), 1) << nMethod;
        EXPECT_EQ(CompareFiles("/no/such/file", "/no/such/file"), 1) << nMethod;
    }
    CompareMethod = METHOD_NAME;
    EXPECT_EQ(CompareFiles("/no/such/file", "/elsewhere/file"), 0);
}

} // namespace
