#include "engine/Crc32.h"

#include "tests/engine/EngineFixtures.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <zlib.h>

namespace {

std::uint32_t ZlibCrc(const std::string& strBytes) {
    return static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(strBytes.data()),
                                            static_cast<uInt>(strBytes.size())));
}

TEST(Crc32, KnownVectors) {
    CTempDir dir;
    CCrc32 crc32;
    crc32.BuildTable();
    std::uint32_t crc = 1;
    EXPECT_EQ(crc32.FileCrc(dir.WriteFile("check", "123456789").c_str(), crc), ERROR_SUCCESS);
    EXPECT_EQ(crc, 0xCBF43926u);
    // No bytes at all: the initial value complemented.
    EXPECT_EQ(crc32.FileCrc(dir.WriteFile("empty", "").c_str(), crc), ERROR_SUCCESS);
    EXPECT_EQ(crc, 0u);
    EXPECT_EQ(crc32.FileCrc(dir.WriteFile("a", "a").c_str(), crc), ERROR_SUCCESS);
    EXPECT_EQ(crc, 0xE8B7BE43u);
}

// Lengths around the 16-byte steps, the 64 KiB read block and the byte-at-a-time tail.
class Crc32Lengths : public testing::TestWithParam<std::size_t> {};

TEST_P(Crc32Lengths, MatchesZlibOnRandomData) {
    CTempDir dir;
    const std::string strBytes = RandomBytes(GetParam(), static_cast<unsigned>(GetParam()));
    CCrc32 crc32;
    crc32.BuildTable();
    std::uint32_t crc = 0;
    ASSERT_EQ(crc32.FileCrc(dir.WriteFile("data", strBytes).c_str(), crc), ERROR_SUCCESS);
    EXPECT_EQ(crc, ZlibCrc(strBytes)) << GetParam() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Lengths, Crc32Lengths,
                         testing::Values(1, 2, 3, 7, 15, 16, 17, 31, 255, 4095, 4096, 4097, 65535,
                                         65536, 65537, 65536 + 15, 131072, 100003));

TEST(Crc32, FailsWithoutTableAndDoesNotOpenTheFile) {
    CTempDir dir;
    const std::string strFile = dir.WriteFile("check", "123456789");
    CAccessWatch watch;
    watch.Watch(strFile);
    CCrc32 crc32;
    std::uint32_t crc = 1;
    EXPECT_EQ(crc32.FileCrc(strFile.c_str(), crc), ERROR_CRC);
    EXPECT_EQ(crc, 0u);
    EXPECT_FALSE(watch.Take(strFile).bOpened);

    crc32.BuildTable();
    crc32.BuildTable(); // replaces the table
    EXPECT_EQ(crc32.FileCrc(strFile.c_str(), crc), ERROR_SUCCESS);
    EXPECT_EQ(crc, 0xCBF43926u);
    const CAccessWatch::Seen seen = watch.Take(strFile);
    EXPECT_TRUE(seen.bOpened);
    EXPECT_TRUE(seen.bRead);

    crc32.ReleaseTable();
    crc32.ReleaseTable(); // harmless without a table
    EXPECT_FALSE(crc32.HasTable());
    crc = 1;
    EXPECT_EQ(crc32.FileCrc(strFile.c_str(), crc), ERROR_CRC);
    EXPECT_EQ(crc, 0u);
    EXPECT_FALSE(watch.Take(strFile).bOpened);
}

TEST(Crc32, ReportsTheOpenError) {
    CTempDir dir;
    CCrc32 crc32;
    crc32.BuildTable();
    std::uint32_t crc = 1;
    EXPECT_EQ(crc32.FileCrc((dir / "missing").c_str(), crc), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(crc, 0u);
    EXPECT_EQ(crc32.FileCrc((dir / "missing/below").c_str(), crc), ERROR_FILE_NOT_FOUND);
}

TEST(Crc32, ReadErrorIsNotTheEndOfTheFile) {
    CCrc32 crc32;
    crc32.BuildTable();
    // Three full blocks read, then the device fails.
    CFailingRead source(3 * 4096);
    CFileHandle file(source.OpenDescriptor());
    std::uint32_t crc = 1;
    EXPECT_EQ(crc32.HandleCrc(file, crc), ERROR_IO_DEVICE);
    EXPECT_EQ(crc, 0u);

    // A folder opens but cannot be read: no CRC either (not the CRC of nothing).
    CTempDir dir;
    crc = 1;
    EXPECT_NE(crc32.FileCrc(dir.MakeDir("folder").c_str(), crc), ERROR_SUCCESS);
    EXPECT_EQ(crc, 0u);
}

} // namespace
