// The three content methods over one table of small fixtures, with the result each method
// gives side by side.
#include "engine/CompareByBytes.h"
#include "engine/CompareByMd5.h"
#include "engine/CompareBySizeCrc.h"
#include "engine/CompareMethod.h"
#include "platform/FileMapping.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <zlib.h>

namespace {

using Content = std::optional<std::string>; // nullopt: the file does not exist
const Content MISSING = std::nullopt;

struct ContentCase {
    const char* pszName;
    Content looked;
    Content representative;
    int nSizeCrc;
    int nBytes;
    int nMd5;
};

void PrintTo(const ContentCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

int Sign(long long n) {
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

std::uint32_t ZlibCrc(const std::string& strBytes) {
    return static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(strBytes.data()),
                                            static_cast<uInt>(strBytes.size())));
}

class ContentCompareTable : public testing::TestWithParam<ContentCase> {
protected:
    std::string Make(const std::string& strName, const Content& content) const {
        return content ? m_dir.WriteFile(strName, *content) : m_dir / strName;
    }
    CTempDir m_dir;
};

TEST_P(ContentCompareTable, EachMethodGivesItsResult) {
    const ContentCase& c = GetParam();
    const std::string strLooked = Make("looked", c.looked);
    const std::string strHeld = Make("held", c.representative);
    EXPECT_EQ(CompareBySizeCrc(strLooked, strHeld), c.nSizeCrc) << "CRC32 + File size";
    EXPECT_EQ(CompareByBytes(strLooked, strHeld), c.nBytes) << "Byte by Byte comparision";
    EXPECT_EQ(CompareByMd5(strLooked, strHeld), c.nMd5) << "MD5 Checksum";
    // Through the dispatcher, too.
    const std::pair<int, int> methods[] = {
        {METHOD_SIZE_CRC, c.nSizeCrc}, {METHOD_BYTES, c.nBytes}, {METHOD_MD5, c.nMd5}};
    for (const auto& [nMethod, nExpected] : methods) {
        CompareMethod = nMethod;
        EXPECT_EQ(CompareFiles(strLooked, strHeld), nExpected) << "method " << nMethod;
    }
    CompareMethod = METHOD_NAME;

    // For files that a method can read, swapping the arguments flips the sign.
    const bool bBothExist = c.looked && c.representative;
    if (bBothExist && !c.looked->empty() && !c.representative->empty()) {
        EXPECT_EQ(CompareBySizeCrc(strHeld, strLooked), -c.nSizeCrc);
        EXPECT_EQ(CompareByBytes(strHeld, strLooked), -c.nBytes);
        // Premise of the CRC order: the independent CRC orders same-size files the same way.
        if (c.looked->size() == c.representative->size()) {
            EXPECT_EQ(Sign(static_cast<long long>(ZlibCrc(*c.looked)) -
                           static_cast<long long>(ZlibCrc(*c.representative))),
                      c.nSizeCrc);
        }
    }
    if (bBothExist) {
        EXPECT_EQ(CompareByMd5(strHeld, strLooked), -c.nMd5);
    }
    // One side usable and the other not: the unusable file keeps its side of the order when
    // the arguments swap, so an index holding it stays sorted.
    const bool bLookedUnusable = !c.looked || c.looked->empty();
    const bool bHeldUnusable = !c.representative || c.representative->empty();
    if (bLookedUnusable != bHeldUnusable) {
        EXPECT_EQ(CompareBySizeCrc(strHeld, strLooked), -c.nSizeCrc);
        EXPECT_EQ(CompareByBytes(strHeld, strLooked), -c.nBytes);
    }
    // MD5 hashes empty files, so only a missing file is unusable there.
    if (c.looked.has_value() != c.representative.has_value()) {
        EXPECT_EQ(CompareByMd5(strHeld, strLooked), -c.nMd5);
    }
}

// Digests used below: "" d41d8cd9..., "a" 0cc175b9..., "b" 92eb5ffe..., "ab" 187ef443...,
// "abc" 90015098..., "abd" 4911e516..., "\x80" 8d39dd7e..., "\x7f" 83acb6e6...,
// "message digest" f96b697d..., "xy\x80z" bd21a360..., "xy\x7fz" 99248e80....
// CRCs: "a" 0xE8B7BE43, "b" 0x71BEEFF9, "abc" 0x352441C2, "abd" 0xAB40D461, "\x80" 0x3FBA6CAD,
// "\x7f" 0x12B88320, "xy\x80z" 0x5FBC04D9, "xy\x7fz" 0xCC98F9AB.
INSTANTIATE_TEST_SUITE_P(
    Cases, ContentCompareTable,
    testing::Values(
        ContentCase{"Equal", "abc", "abc", 0, 0, 0},
        ContentCase{"EqualBinaryWithNul", std::string("a\0b\xff", 4), std::string("a\0b\xff", 4), 0,
                    0, 0},
        ContentCase{"SameSizeLastByteDiffers", "abc", "abd", -1, -1, 1},
        // CRCs compare unsigned: 0xE8B7BE43 (top bit set) sorts after 0x71BEEFF9.
        ContentCase{"CrcTopBitSortsLast", "a", "b", 1, -1, -1},
        // Bytes compare unsigned: 0x80 sorts after 0x7F.
        ContentCase{"ByteAbove7FSortsLast", "\x80", "\x7f", 1, 1, 1},
        ContentCase{"ByteAbove7FSortsLastAfterCommonPrefix", "xy\x80z", "xy\x7fz", -1, 1, 1},
        // Size first: the shorter file sorts first whatever its bytes; MD5 ignores sizes.
        ContentCase{"ShorterSortsFirst", "b", "ab", -1, -1, 1},
        // A digest digit sorts before a digest letter ('9' before 'f').
        ContentCase{"DigestDigitBeforeLetter", "abc", "message digest", -1, -1, -1},
        // Empty files are never duplicates by size or bytes, but are by MD5. A file a method
        // cannot use sorts on one side of all others whichever argument it is: first by size
        // and CRC, last by bytes, first (no digest) by MD5.
        ContentCase{"BothEmpty", "", "", -1, 1, 0}, ContentCase{"EmptyLooked", "", "a", -1, 1, 1},
        ContentCase{"EmptyRepresentative", "a", "", 1, -1, -1},
        ContentCase{"MissingLooked", MISSING, "a", -1, 1, -1},
        ContentCase{"MissingRepresentative", "a", MISSING, 1, -1, 1},
        ContentCase{"BothMissing", MISSING, MISSING, -1, 1, -1}),
    [](const testing::TestParamInfo<ContentCase>& info) { return info.param.pszName; });

TEST(ContentCompare, FileWithItselfIsADuplicate) {
    CTempDir dir;
    const std::string strFile = dir.WriteFile("self", RandomBytes(70000, 5));
    EXPECT_EQ(CompareBySizeCrc(strFile, strFile), 0);
    EXPECT_EQ(CompareByBytes(strFile, strFile), 0);
    EXPECT_EQ(CompareByMd5(strFile, strFile), 0);
}

// Counts the views that the byte comparison maps.
int g_nMapViews = 0;
int CountMapViews(std::int64_t, std::uint64_t) {
    ++g_nMapViews;
    return 0;
}

TEST(ContentCompare, DifferentSizesAreNeverReadBySizeMethods) {
    CTempDir dir;
    const std::string strSmall = dir.WriteFile("small", "abc");
    const std::string strLarge = dir.WriteFile("large", "abcd");
    CAccessWatch watch;
    watch.Watch(strSmall);
    watch.Watch(strLarge);

    EXPECT_EQ(CompareBySizeCrc(strSmall, strLarge), -1);
    EXPECT_FALSE(watch.Take(strSmall).bRead);
    EXPECT_FALSE(watch.Take(strLarge).bRead);

    g_nMapViews = 0;
    SetMapViewHook(CountMapViews);
    EXPECT_EQ(CompareByBytes(strLarge, strSmall), 1);
    SetMapViewHook(nullptr);
    EXPECT_EQ(g_nMapViews, 0);
    EXPECT_EQ(CompareByBytes(strSmall, strSmall), 0);
    EXPECT_FALSE(watch.Take(strSmall).bRead); // mapped pages are not reads
}

TEST(ContentCompare, Md5ReadsBothFilesWhateverTheirSizes) {
    CTempDir dir;
    const std::string strSmall = dir.WriteFile("small", "abc");
    const std::string strLarge = dir.WriteFile("large", "abcd");
    CAccessWatch watch;
    watch.Watch(strSmall);
    watch.Watch(strLarge);
    EXPECT_EQ(CompareByMd5(strSmall, strLarge), -1); // 90015098... before e2fc714c...
    EXPECT_TRUE(watch.Take(strSmall).bRead);
    EXPECT_TRUE(watch.Take(strLarge).bRead);
}

// When the looked-up file fails first, no method opens the representative.
TEST(ContentCompare, RepresentativeIsNotOpenedAfterTheLookedUpFileFails) {
    CTempDir dir;
    const std::string strHeld = dir.WriteFile("held", "abc");
    const std::string strMissing = dir / "missing";
    const std::string strEmpty = dir.WriteFile("empty", "");
    CAccessWatch watch;
    watch.Watch(strHeld);
    const std::pair<const char*, int (*)(const CString&, const CString&)> methods[] = {
        {"size/CRC", CompareBySizeCrc}, {"bytes", CompareByBytes}, {"MD5", CompareByMd5}};
    for (const auto& [pszMethod, pfnCompare] : methods) {
        pfnCompare(strMissing, strHeld);
        EXPECT_FALSE(watch.Take(strHeld).bOpened) << pszMethod;
    }
    // An empty file fails in the size step (CRC) or the mapping (bytes) before the
    // representative is opened.
    CompareBySizeCrc(strEmpty, strHeld);
    EXPECT_FALSE(watch.Take(strHeld).bOpened);
    CompareByBytes(strEmpty, strHeld);
    EXPECT_FALSE(watch.Take(strHeld).bOpened);
}

// Files of 2 GiB and more: sizes are 64-bit, so they order by their full size. Sparse files
// keep this quick, and different sizes are never read.
struct LargeCase {
    const char* pszName;
    std::int64_t nLookedSize;
    std::int64_t nHeldSize;
    int nExpected;
};

void PrintTo(const LargeCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

class LargeFileSizes : public testing::TestWithParam<LargeCase> {};

TEST_P(LargeFileSizes, OrderByTheFull64BitSize) {
    const LargeCase& c = GetParam();
    CTempDir dir;
    const std::string strLooked = MakeSparseFile(dir, "looked", c.nLookedSize, "L");
    const std::string strHeld = MakeSparseFile(dir, "held", c.nHeldSize, "R");
    EXPECT_EQ(CompareBySizeCrc(strLooked, strHeld), c.nExpected);
    EXPECT_EQ(CompareBySizeCrc(strHeld, strLooked), -c.nExpected);
    EXPECT_EQ(CompareByBytes(strLooked, strHeld), c.nExpected);
    EXPECT_EQ(CompareByBytes(strHeld, strLooked), -c.nExpected);
}

constexpr std::int64_t GIB = 1024LL * 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Cases, LargeFileSizes,
    testing::Values(LargeCase{"TwoGiBAgainstOneByteMore", 2 * GIB, 2 * GIB + 1, -1},
                    LargeCase{"TwoGiBAgainstSmall", 2 * GIB, 100, 1},
                    // Equal in the lower 32 bits: only the upper ones tell them apart.
                    LargeCase{"DifferOnlyInUpper32Bits", 4 * GIB + 5, 5, 1},
                    LargeCase{"FourGiBAgainstTwoGiB", 4 * GIB, 2 * GIB, 1}),
    [](const testing::TestParamInfo<LargeCase>& info) { return info.param.pszName; });

} // namespace
