#include "platform/FileFind.h"

#include "platform/PathSeparator.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every entry of one folder as name -> kind, read the way the search walks.
std::map<std::string, std::string> Enumerate(const std::string& strFolder) {
    std::map<std::string, std::string> entries;
    CFileFind finder;
    bool bMore = finder.FindFile(strFolder);
    while (bMore) {
        bMore = finder.FindNextFile();
        const char* pszKind = finder.IsDots()        ? "dots"
                              : finder.IsDirectory() ? "dir"
                              : finder.IsFile()      ? "file"
                                                     : "other";
        entries[finder.GetFileName()] = pszKind;
        EXPECT_EQ(finder.GetFilePath(), JoinPath(strFolder, finder.GetFileName()));
    }
    return entries;
}

TEST(FileFind, ToldApartWithoutFollowingLinks) {
    CTempDir dir;
    dir.WriteFile("plain", "x");
    dir.WriteFile(".hidden", "x");
    dir.MakeDir("sub");
    ASSERT_EQ(symlink("plain", (dir / "filelink").c_str()), 0);
    ASSERT_EQ(symlink("sub", (dir / "dirlink").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(Enumerate(dir.Path()), (std::map<std::string, std::string>{{".", "dots"},
                                                                         {"..", "dots"},
                                                                         {".hidden", "file"},
                                                                         {"plain", "file"},
                                                                         {"sub", "dir"},
                                                                         {"filelink", "other"},
                                                                         {"dirlink", "other"},
                                                                         {"fifo", "other"}}));
}

TEST(FileFind, UnreadableFoldersHaveNoEntries) {
    CTempDir dir;
    const std::string strFile = dir.WriteFile("f", "x");
    CFileFind finder;
    EXPECT_FALSE(finder.FindFile(dir / "missing"));
    EXPECT_FALSE(finder.FindFile(strFile));
    EXPECT_FALSE(finder.FindFile(""));
    EXPECT_FALSE(finder.FindNextFile());
}

TEST(PathSeparator, JoinsWithOneSeparator) {
    EXPECT_EQ(JoinPath("/", "x"), "/x");
    EXPECT_EQ(JoinPath("/a", "x"), "/a/x");
    EXPECT_EQ(JoinPath("/a/", "x"), "/a/x");
    EXPECT_EQ(JoinPath("", "x"), "/x");
}

TEST(MakeAbsolutePath, ResolvesAgainstTheCurrentFolder) {
    char szCwd[4096] = {};
    ASSERT_TRUE(getcwd(szCwd, sizeof szCwd));
    const std::string strCwd = szCwd;
    EXPECT_EQ(MakeAbsolutePath("/abs/path"), "/abs/path");
    EXPECT_EQ(MakeAbsolutePath("."), strCwd);
    EXPECT_EQ(MakeAbsolutePath("./a/b"), JoinPath(strCwd, "a/b"));
    EXPECT_EQ(MakeAbsolutePath("rel"), JoinPath(strCwd, "rel"));
}

} // namespace
