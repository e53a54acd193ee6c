#include "cli/FileContent.h"

#include "engine/Crc32.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>

namespace {

std::string Hex(const CMd5Digest& digest) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string strHex;
    for (const unsigned char b : digest) {
        strHex += kHex[b >> 4];
        strHex += kHex[b & 0x0F];
    }
    return strHex;
}

TEST(FileContent, KnownDigests) {
    CTempDir dir;
    const std::string strDigits = dir.WriteFile("digits", "123456789");
    const std::string strAbc = dir.WriteFile("abc", "abc");
    const std::string strEmpty = dir.WriteFile("empty", "");

    CCrc32 crc32;
    crc32.BuildTable();
    std::uint32_t crc = 0;
    ASSERT_TRUE(FileCrc32(CFileRef{AT_FDCWD, strDigits}, 9, crc32, crc));
    EXPECT_EQ(crc, 0xCBF43926u);

    CAlignedBuffer buffer(4096);
    CMd5Digest digest{};
    ASSERT_TRUE(FileMd5(CFileRef{AT_FDCWD, strAbc}, 3, buffer, digest));
    EXPECT_EQ(Hex(digest), "900150983cd24fb0d6963f7d28e17f72");
    ASSERT_TRUE(FileMd5(CFileRef{AT_FDCWD, strEmpty}, 0, buffer, digest));
    EXPECT_EQ(Hex(digest), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(FileContent, PrefixHashSeesOnlyThePrefix) {
    CTempDir dir;
    const std::string strBase(100, 'x');
    const std::string strA = dir.WriteFile("a", strBase);
    std::string strLate = strBase;
    strLate.back() = 'y';
    std::string strEarly = strBase;
    strEarly.front() = 'y';
    const std::string strLateChange = dir.WriteFile("b", strLate);
    const std::string strEarlyChange = dir.WriteFile("c", strEarly);
    CAlignedBuffer buffer(4096);
    auto fnPrefixHash = [&buffer](const std::string& strPath, std::size_t nPrefix) {
        std::uint64_t nHash = 0;
        EXPECT_TRUE(PrefixHash64(CFileRef{AT_FDCWD, strPath}, 100, nPrefix, buffer, nHash));
        return nHash;
    };
    EXPECT_EQ(fnPrefixHash(strA, 64), fnPrefixHash(strLateChange, 64));
    EXPECT_NE(fnPrefixHash(strA, 64), fnPrefixHash(strEarlyChange, 64));
    // A prefix as long as the file covers all of it.
    EXPECT_NE(fnPrefixHash(strA, 4096), fnPrefixHash(strLateChange, 4096));
}

// A file whose size is no longer the one the walk saw, or that is gone, gives no answer,
// so that it is left out rather than grouped by a part of its contents.
TEST(FileContent, ChangedOrMissingFilesGiveNoAnswer) {
    CTempDir dir;
    const std::string strFile = dir.WriteFile("f", "12345");
    const std::string strMissing = dir / "missing";
    CCrc32 crc32;
    crc32.BuildTable();
    CAlignedBuffer buffer(4096);
    for (const auto& [strPath, nSize] :
         {std::pair{strFile, std::int64_t{4}}, std::pair{strFile, std::int64_t{6}},
          std::pair{strMissing, std::int64_t{5}}}) {
        SCOPED_TRACE(strPath + std::string(" ") + std::to_string(nSize));
        std::uint32_t crc = 0;
        CMd5Digest digest{};
        std::uint64_t nHash = 0;
        EXPECT_FALSE(FileCrc32(CFileRef{AT_FDCWD, strPath}, nSize, crc32, crc));
        EXPECT_FALSE(FileMd5(CFileRef{AT_FDCWD, strPath}, nSize, buffer, digest));
        EXPECT_FALSE(FileHash64(CFileRef{AT_FDCWD, strPath}, nSize, buffer, nHash));
        EXPECT_FALSE(PrefixHash64(CFileRef{AT_FDCWD, strPath}, nSize, 4096, buffer, nHash));
    }
}

TEST(FileContent, Hash64DependsOnContentNotOnTheBlockSize) {
    CTempDir dir;
    // Sizes around the block and lane boundaries.
    for (const std::size_t nSize : {1u, 31u, 32u, 33u, 4095u, 4096u, 4097u, 300001u}) {
        SCOPED_TRACE(nSize);
        std::string strContent(nSize, '\0');
        for (std::size_t i = 0; i < nSize; ++i)
            strContent[i] = static_cast<char>(i * 131 + 7);
        std::string strChanged = strContent;
        strChanged[nSize - 1] = static_cast<char>(strChanged[nSize - 1] ^ 0x40);
        const std::string strA = dir.WriteFile("a", strContent);
        const std::string strB = dir.WriteFile("b", strChanged);
        const auto nFileSize = static_cast<std::int64_t>(nSize);

        CAlignedBuffer small(4096);
        CAlignedBuffer large(256 << 10);
        std::uint64_t nSmall = 0;
        std::uint64_t nLarge = 0;
        std::uint64_t nChanged = 0;
        ASSERT_TRUE(FileHash64(CFileRef{AT_FDCWD, strA}, nFileSize, small, nSmall));
        ASSERT_TRUE(FileHash64(CFileRef{AT_FDCWD, strA}, nFileSize, large, nLarge));
        ASSERT_TRUE(FileHash64(CFileRef{AT_FDCWD, strB}, nFileSize, large, nChanged));
        EXPECT_EQ(nSmall, nLarge);
        EXPECT_NE(nLarge, nChanged);
    }
}

} // namespace
