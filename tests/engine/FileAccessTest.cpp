// The platform pieces under the content methods: the file handle, read-only mappings and the
// guarded compare.
#include "platform/FileHandle.h"
#include "platform/FileMapping.h"
#include "platform/GuardedCompare.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

TEST(FileHandle, OpensReadsAndSizes) {
    CTempDir dir;
    const std::string strBytes = RandomBytes(10000, 1);
    CFileHandle file;
    EXPECT_FALSE(file.IsOpen());
    ASSERT_EQ(file.Open(dir.WriteFile("data", strBytes).c_str(), true), ERROR_SUCCESS);
    std::int64_t nSize = 0;
    EXPECT_EQ(file.GetSize(nSize), ERROR_SUCCESS);
    EXPECT_EQ(nSize, 10000);
    std::string strRead;
    char buffer[4096];
    for (;;) {
        std::size_t nRead = 0;
        ASSERT_EQ(file.Read(buffer, sizeof buffer, nRead), ERROR_SUCCESS);
        if (nRead == 0)
            break;
        strRead.append(buffer, nRead);
    }
    EXPECT_TRUE(strRead == strBytes);

    // Moving hands the descriptor over; the source no longer closes it.
    CFileHandle moved(std::move(file));
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(moved.IsOpen());
    const int fd = moved.Get();
    moved.Close();
    EXPECT_FALSE(moved.IsOpen());
    EXPECT_EQ(fcntl(fd, F_GETFD), -1); // closed once, by its one owner
}

TEST(FileHandle, MapsErrnoToErrorCodes) {
    CTempDir dir;
    CFileHandle file;
    EXPECT_EQ(file.Open((dir / "missing").c_str(), false), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(file.Open((dir.WriteFile("f", "x") + "/below").c_str(), false), ERROR_PATH_NOT_FOUND);
    // Only regular files open: a folder, a FIFO (without blocking) or a device that stands
    // where a file was could never be read to a sound end.
    EXPECT_EQ(file.Open(dir.MakeDir("folder").c_str(), false), ERROR_ACCESS_DENIED);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(file.Open((dir / "fifo").c_str(), false), ERROR_ACCESS_DENIED);
    ASSERT_EQ(symlink("/dev/zero", (dir / "zero").c_str()), 0);
    EXPECT_EQ(file.Open((dir / "zero").c_str(), false), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(OpenRegularFileStream((dir / "fifo").c_str()));
    EXPECT_TRUE(OpenRegularFileStream(dir.WriteFile("plain", "x").c_str()));
    std::size_t nRead = 0;
    // A read that fails part-way reports the device error.
    CFailingRead source(100);
    CFileHandle faulty(source.OpenDescriptor());
    char buffer[200];
    EXPECT_EQ(faulty.Read(buffer, 100, nRead), ERROR_SUCCESS);
    EXPECT_EQ(nRead, 100u);
    EXPECT_EQ(faulty.Read(buffer, 100, nRead), ERROR_IO_DEVICE);
}

TEST(FileMapping, MapsViewsOfAFile) {
    CTempDir dir;
    const std::string strBytes = RandomBytes(3 * 65536 + 7, 2);
    CFileHandle file;
    ASSERT_EQ(file.Open(dir.WriteFile("data", strBytes).c_str(), false), ERROR_SUCCESS);
    CFileMapping mapping;
    ASSERT_EQ(mapping.Create(std::move(file)), ERROR_SUCCESS);
    EXPECT_FALSE(file.IsOpen()); // the mapping holds the file now
    EXPECT_EQ(mapping.GetSize(), static_cast<std::int64_t>(strBytes.size()));
    EXPECT_EQ(GetAllocationGranularity() % 65536, 0u);

    CMappedView view;
    ASSERT_EQ(mapping.MapView(65536, 65543, true, view), ERROR_SUCCESS);
    ASSERT_TRUE(view.IsMapped());
    EXPECT_EQ(view.Length(), 65543u);
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(view.Data()), view.Length()) ==
                strBytes.substr(65536, 65543));
    // A length that no address space holds fails for lack of memory.
    EXPECT_EQ(mapping.MapView(0, ~std::uint64_t{0}, false, view), ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_FALSE(view.IsMapped());
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
    // The view outlives nothing: moving it leaves the source empty.
    ASSERT_EQ(mapping.MapView(0, 10, false, view), ERROR_SUCCESS);
    CMappedView moved(std::move(view));
    EXPECT_FALSE(view.IsMapped());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(moved.Data()), 10), strBytes.substr(0, 10));
}

TEST(FileMapping, EmptyFilesAndFoldersCannotBeMapped) {
    CTempDir dir;
    CFileHandle file;
    ASSERT_EQ(file.Open(dir.WriteFile("empty", "").c_str(), false), ERROR_SUCCESS);
    CFileMapping mapping;
    EXPECT_EQ(mapping.Create(std::move(file)), ERROR_FILE_INVALID);
    EXPECT_FALSE(mapping.IsOpen());
    CFileHandle folder(open(dir.MakeDir("folder").c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_TRUE(folder.IsOpen());
    EXPECT_EQ(mapping.Create(std::move(folder)), ERROR_ACCESS_DENIED);
    CMappedView view;
    EXPECT_NE(mapping.MapView(0, 1, false, view), ERROR_SUCCESS);
}

struct GuardedCase {
    std::string strLeft;
    std::string strRight;
    int nExpected;
};

void PrintTo(const GuardedCase& c, std::ostream* pOut) {
    *pOut << c.strLeft.size() << " bytes, expecting " << c.nExpected;
}

class GuardedCompareTable : public testing::TestWithParam<GuardedCase> {};

TEST_P(GuardedCompareTable, ComparesLikeUnsignedMemcmp) {
    const GuardedCase& c = GetParam();
    int nResult = 99;
    ASSERT_TRUE(GuardedCompare(c.strLeft.data(), c.strRight.data(), c.strLeft.size(), nResult));
    EXPECT_EQ(nResult, c.nExpected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GuardedCompareTable,
                         testing::Values(GuardedCase{"", "", 0}, GuardedCase{"abc", "abc", 0},
                                         GuardedCase{"abc", "abd", -1},
                                         GuardedCase{"\x80", "\x7f", 1},
                                         GuardedCase{"\xff", "\x00", 1},
                                         GuardedCase{"a\x01z",
                                                     "a\xfe"
                                                     "a",
                                                     -1}));

TEST(GuardedCompare, SurvivesPagesLostToATruncation) {
    CTempDir dir;
    const long nPage = sysconf(_SC_PAGESIZE);
    const std::string strBytes = RandomBytes(static_cast<std::size_t>(4 * nPage), 3);
    const std::string strFile = dir.WriteFile("shrinking", strBytes);
    CFileHandle file;
    ASSERT_EQ(file.Open(strFile.c_str(), false), ERROR_SUCCESS);
    CFileMapping mapping;
    ASSERT_EQ(mapping.Create(std::move(file)), ERROR_SUCCESS);
    CMappedView view;
    ASSERT_EQ(mapping.MapView(0, strBytes.size(), false, view), ERROR_SUCCESS);
    ASSERT_EQ(truncate(strFile.c_str(), nPage), 0);

    int nResult = 99;
    // The first page is still there and equal...
    EXPECT_TRUE(
        GuardedCompare(view.Data(), strBytes.data(), static_cast<std::size_t>(nPage), nResult));
    EXPECT_EQ(nResult, 0);
    // ...the rest is gone: reported, not fatal, and again on a second try.
    for (int nTry = 0; nTry < 2; ++nTry)
        EXPECT_FALSE(GuardedCompare(view.Data(), strBytes.data(), strBytes.size(), nResult));
    EXPECT_FALSE(GuardedCompare(strBytes.data(), view.Data() + 2 * nPage,
                                static_cast<std::size_t>(nPage), nResult));
    // Ordinary memory still compares afterwards.
    EXPECT_TRUE(GuardedCompare("ab", "aa", 2, nResult));
    EXPECT_EQ(nResult, 1);
}

TEST(GuardedCompareDeathTest, BusErrorsOutsideAGuardedCompareStillEndTheProgram) {
    int nResult = 0;
    ASSERT_TRUE(GuardedCompare("a", "a", 1, nResult)); // installs the handler
    // Whether the default action or a sanitizer's report ends it, the program does not go on.
    EXPECT_DEATH(raise(SIGBUS), "");
}

} // namespace
