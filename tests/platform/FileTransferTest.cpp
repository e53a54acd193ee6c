#include "platform/FileTransfer.h"

#include "tests/support/TempDir.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Exists(const std::string& strPath) {
    struct stat st {};
    return lstat(strPath.c_str(), &st) == 0;
}

// Binary content with NUL bytes, larger than one copy buffer.
std::string SampleContent() {
    std::string str;
    for (int i = 0; i < 200000; ++i)
        str += static_cast<char>(i * 7 % 256);
    return str;
}

enum class Op { Copy, Move };

int Transfer(Op op, const std::string& strSource, const std::string& strTarget) {
    return op == Op::Copy ? CopyFileNoReplace(strSource, strTarget)
                          : MoveFileNoReplace(strSource, strTarget);
}

class TransferCases : public testing::TestWithParam<Op> {};

TEST_P(TransferCases, TransfersContentExactly) {
    CTempDir dir;
    const std::string strContent = SampleContent();
    const std::string strSource = dir.WriteFile("src/file.bin", strContent);
    dir.MakeDir("dest");
    ASSERT_EQ(Transfer(GetParam(), strSource, dir / "dest/file.bin"), 0);
    EXPECT_EQ(ReadFileBytes(dir / "dest/file.bin"), strContent);
    EXPECT_EQ(Exists(strSource), GetParam() == Op::Copy);
}

TEST_P(TransferCases, NeverOverwritesAndReportsWhy) {
    CTempDir dir;
    const std::string strSource = dir.WriteFile("src/file.txt", "new");
    const std::string strTarget = dir.WriteFile("dest/file.txt", "old");
    EXPECT_EQ(Transfer(GetParam(), strSource, strTarget), EEXIST);
    EXPECT_EQ(ReadFileBytes(strTarget), "old");
    EXPECT_EQ(ReadFileBytes(strSource), "new");
    // A file onto itself is the same case.
    EXPECT_EQ(Transfer(GetParam(), strSource, strSource), EEXIST);
    EXPECT_EQ(ReadFileBytes(strSource), "new");
    // A dangling link in the target's place is not written through.
    ASSERT_EQ(symlink((dir / "nowhere").c_str(), (dir / "dest/link.txt").c_str()), 0);
    EXPECT_EQ(Transfer(GetParam(), strSource, dir / "dest/link.txt"), EEXIST);
    EXPECT_FALSE(Exists(dir / "nowhere"));
}

TEST_P(TransferCases, MissingSourceOrFolderFailsCleanly) {
    CTempDir dir;
    const std::string strSource = dir.WriteFile("src/file.txt", "x");
    EXPECT_EQ(Transfer(GetParam(), dir / "src/gone.txt", dir / "t.txt"), ENOENT);
    EXPECT_FALSE(Exists(dir / "t.txt"));
    EXPECT_EQ(Transfer(GetParam(), strSource, dir / "no/such/folder/t.txt"), ENOENT);
    EXPECT_TRUE(Exists(strSource));
}

TEST_P(TransferCases, WorksAcrossFileSystems) {
    CTempDir dir;
    const char* pszOther = "/dev/shm";
    struct stat here {};
    struct stat there {};
    if (stat(pszOther, &there) != 0 || stat(dir.Path().c_str(), &here) != 0 ||
        here.st_dev == there.st_dev || access(pszOther, W_OK) != 0)
        GTEST_SKIP() << "no second writable file system on this machine";
    const std::string strContent = SampleContent();
    const std::string strSource = dir.WriteFile("file.bin", strContent);
    const std::string strTarget =
        std::string(pszOther) + "/twinsift-transfer-" + std::to_string(getpid()) + ".bin";
    ASSERT_EQ(Transfer(GetParam(), strSource, strTarget), 0);
    EXPECT_EQ(ReadFileBytes(strTarget), strContent);
    EXPECT_EQ(Exists(strSource), GetParam() == Op::Copy);
    // Back again onto a name that exists: refused, nothing changed.
    const std::string strBack = dir.WriteFile("back.bin", "keep");
    EXPECT_EQ(Transfer(GetParam(), strTarget, strBack), EEXIST);
    EXPECT_EQ(ReadFileBytes(strBack), "keep");
    unlink(strTarget.c_str());
}

INSTANTIATE_TEST_SUITE_P(Both, TransferCases, testing::Values(Op::Copy, Op::Move),
                         [](const auto& info) { return info.param == Op::Copy ? "Copy" : "Move"; });

// Runs in a child whose files may not grow past 4 KiB, so that every write past it fails.
[[noreturn]] void CopyUnderFileSizeLimit(const std::string& strSource,
                                         const std::string& strTarget) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const int nError = CopyFileNoReplace(strSource, strTarget);
    _exit(nError == EFBIG && !Exists(strTarget) ? 0 : 1);
}

TEST(FileTransfer, FailedCopyLeavesNoHalfWrittenTarget) {
    CTempDir dir;
    const std::string strSource = dir.WriteFile("big.bin", SampleContent());
    const std::string strTarget = dir / "copy.bin";
    EXPECT_EXIT(CopyUnderFileSizeLimit(strSource, strTarget), testing::ExitedWithCode(0), "");
    EXPECT_FALSE(Exists(strTarget));
}

TEST(FileTransfer, DeleteRemovesOnlyFilesAndSaysWhyNot) {
    CTempDir dir;
    const std::string strFile = dir.WriteFile("f.txt", "x");
    dir.MakeDir("folder");
    EXPECT_EQ(DeleteFileAt(strFile), 0);
    EXPECT_FALSE(Exists(strFile));
    EXPECT_EQ(DeleteFileAt(strFile), ENOENT);
    EXPECT_EQ(DeleteFileAt(dir / "folder"), EISDIR);
    EXPECT_TRUE(Exists(dir / "folder"));
}

} // namespace
