#include "platform/ByteString.h"
#include "platform/ErrorCodes.h"
#include "platform/ManualResetEvent.h"
#include "platform/PathExists.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <chrono>
#include <future>
#include <gtest/gtest.h>

namespace {

TEST(ByteString, FormatsAndFindsBytes) {
    EXPECT_EQ(CStringFormat("%d duplicates of size %.3f KB", 2, 1536 / 1024.0),
              "2 duplicates of size 1.500 KB");
    EXPECT_EQ(CStringFormat("%s", ""), "");
    EXPECT_EQ(ReverseFind("a\\b\\c", '\\'), 3);
    EXPECT_EQ(ReverseFind("abc", '\\'), -1);
}

TEST(ErrorCodes, MapErrnoToTheClassicCodes) {
    const std::pair<int, DWORD> cases[] = {
        {0, ERROR_SUCCESS},
        {ENOENT, ERROR_FILE_NOT_FOUND},
        {EACCES, ERROR_ACCESS_DENIED},
        {EPERM, ERROR_ACCESS_DENIED},
        {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
        {EEXIST, ERROR_FILE_EXISTS},
        {ENOSPC, ERROR_DISK_FULL},
        {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
        {EIO, ERROR_IO_DEVICE},
    };
    for (const auto& [nErrno, dwCode] : cases)
        EXPECT_EQ(ErrorFromErrno(nErrno), dwCode) << nErrno;
    EXPECT_NE(ErrnoText(ENOENT), "");
}

TEST(ManualResetEvent, HoldsItsStateAndReleasesEveryWaiter) {
    CEvent evt(false);
    EXPECT_FALSE(evt.IsSet());
    auto waiter1 = std::async(std::launch::async, [&] { evt.Wait(); });
    auto waiter2 = std::async(std::launch::async, [&] { evt.Wait(); });
    EXPECT_EQ(waiter1.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    evt.SetEvent();
    waiter1.get();
    waiter2.get();
    EXPECT_TRUE(evt.IsSet());
    evt.Wait(); // stays set
    evt.ResetEvent();
    EXPECT_FALSE(evt.IsSet());
}

TEST(PathExists, FilesAndFoldersExist) {
    CTempDir dir;
    EXPECT_TRUE(PathFileExists(dir.Path()));
    EXPECT_TRUE(PathFileExists(dir.WriteFile("f", "")));
    EXPECT_FALSE(PathFileExists(dir / "missing"));
    EXPECT_FALSE(PathFileExists(""));
}

} // namespace
