// The worker's message sequence and walk rules, over small fixture trees.
#include "engine/CompareMethod.h"
#include "search/SearchEvents.h"
#include "search/SearchMessages.h"
#include "tests/search/SearchTestUtil.h"
#include "tests/support/RecordingTarget.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <new>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

class SearchWorker : public testing::Test {
protected:
    void SetUp() override { ResetSearchEvents(); }
    void TearDown() override {
        ResetSearchEvents();
        CompareMethod = METHOD_NAME;
    }
    CTempDir m_dir;
};

// Checks the frame every search has: two sent resets (0, then the count), the listing pass,
// exactly one UWM_SEARCH_FINISHED last.
void ExpectFrame(const std::vector<RecordedMessage>& messages, int nCount) {
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages[0].nMessage, UWM_RESET_RESULTS);
    EXPECT_TRUE(messages[0].bSent);
    EXPECT_EQ(messages[0].nLParam, 0);
    EXPECT_EQ(messages[1].nMessage, UWM_RESET_RESULTS);
    EXPECT_TRUE(messages[1].bSent);
    EXPECT_EQ(messages[1].nLParam, nCount);
    EXPECT_EQ(messages.back().nMessage, UWM_SEARCH_FINISHED);
    EXPECT_EQ(CountOf(messages, UWM_SEARCH_FINISHED), 1);
    EXPECT_EQ(CountOf(messages, UWM_RESET_RESULTS), 2);
}

TEST_F(SearchWorker, ReportsEveryLaterFileWithTheFirstOfItsNameAsRepresentative) {
    m_dir.WriteFile("a/x.txt", "1");
    m_dir.WriteFile("b/x.txt", "2");
    m_dir.WriteFile("c/x.txt", "3");
    m_dir.WriteFile("c/y.txt", "4");
    m_dir.WriteFile("z.txt", "5");
    const auto messages = RunSearch(m_dir.Path(), true, METHOD_NAME);
    ExpectFrame(messages, 5);

    const std::vector<std::string> scanned = ScannedPaths(messages);
    EXPECT_EQ(std::set<std::string>(scanned.begin(), scanned.end()),
              (std::set<std::string>{m_dir / "a/x.txt", m_dir / "b/x.txt", m_dir / "c/x.txt",
                                     m_dir / "c/y.txt", m_dir / "z.txt"}));
    EXPECT_EQ(scanned.size(), 5u);

    // Walk order decides: the first x.txt scanned is the representative of the other two, and
    // each report follows the scan of its file at once.
    std::vector<std::string> xs;
    std::copy_if(scanned.begin(), scanned.end(), std::back_inserter(xs),
                 [](const std::string& s) { return BaseName(s) == "x.txt"; });
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_EQ(DuplicatePairs(messages),
              (std::vector<std::pair<std::string, std::string>>{{xs[0], xs[1]}, {xs[0], xs[2]}}));
    for (size_t i = 1; i < messages.size(); ++i) {
        if (messages[i].nMessage == UWM_DUPLICATE_FOUND) {
            EXPECT_EQ(messages[i - 1].nMessage, UWM_FILE_SCANNED);
            EXPECT_EQ(messages[i - 1].strWParam, messages[i].strLParam);
        }
    }
}

TEST_F(SearchWorker, FoldersWithoutFilesGiveTwoEmptyResetsAndTheEnd) {
    m_dir.MakeDir("empty");
    m_dir.WriteFile("sub/only-here.txt", "x");
    m_dir.WriteFile("sub/deeper/only-here.txt", "x");
    struct Case {
        std::string strFolder;
        bool bRecursive;
    };
    for (const Case& c :
         {Case{m_dir / "empty", true}, Case{m_dir.Path(), false}, Case{m_dir / "missing", true}}) {
        const auto messages = RunSearch(c.strFolder, c.bRecursive, METHOD_NAME);
        ASSERT_EQ(messages.size(), 3u) << c.strFolder;
        ExpectFrame(messages, 0);
    }
    // With subfolders the same tree has two files, one a duplicate.
    const auto messages = RunSearch(m_dir.Path(), true, METHOD_NAME);
    ExpectFrame(messages, 2);
    EXPECT_EQ(DuplicatePairs(messages).size(), 1u);
}

TEST_F(SearchWorker, TrailingSeparatorAndRelativeFolderGiveCleanAbsolutePaths) {
    m_dir.WriteFile("d/f.txt", "x");
    auto messages = RunSearch(m_dir / "d/", false, METHOD_NAME);
    EXPECT_EQ(ScannedPaths(messages), std::vector<std::string>{m_dir / "d/f.txt"});

    const std::string strCwd = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.Path());
    messages = RunSearch("d", false, METHOD_NAME);
    std::filesystem::current_path(strCwd);
    EXPECT_EQ(ScannedPaths(messages), std::vector<std::string>{m_dir / "d/f.txt"});
}

TEST_F(SearchWorker, TakesHiddenFilesAndPassesOverLinksAndSpecialFiles) {
    const std::string strTarget = m_dir.WriteFile("real/.hidden", "x");
    m_dir.WriteFile("real/plain", "x");
    m_dir.MakeDir("links");
    ASSERT_EQ(symlink(strTarget.c_str(), (m_dir / "links/.hidden").c_str()), 0);
    ASSERT_EQ(symlink((m_dir / "real").c_str(), (m_dir / "links/dirlink").c_str()), 0);
    // A link to its own folder would loop forever if it were followed.
    ASSERT_EQ(symlink((m_dir / "links").c_str(), (m_dir / "links/loop").c_str()), 0);
    ASSERT_EQ(symlink("/no/such/target", (m_dir / "links/dangling").c_str()), 0);
    // Reading a FIFO would block the search for good.
    ASSERT_EQ(mkfifo((m_dir / "links/plain").c_str(), 0600), 0);
    const int nSocket = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(nSocket, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string strSocket = m_dir / "links/sock";
    ASSERT_LT(strSocket.size(), sizeof address.sun_path);
    std::copy(strSocket.begin(), strSocket.end(), address.sun_path);
    ASSERT_EQ(bind(nSocket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const auto messages = RunSearch(m_dir.Path(), true, METHOD_NAME);
    close(nSocket);
    ExpectFrame(messages, 2);
    const auto scanned = ScannedPaths(messages);
    EXPECT_EQ(std::set<std::string>(scanned.begin(), scanned.end()),
              (std::set<std::string>{m_dir / "real/.hidden", m_dir / "real/plain"}));
    EXPECT_TRUE(DuplicatePairs(messages).empty());
}

TEST_F(SearchWorker, FileNamesAreBytes) {
    const std::string strName = "caf\xe9-\xff\xfe.bin"; // Latin-1, not valid UTF-8
    m_dir.WriteFile("one/" + strName, "a");
    m_dir.WriteFile("two/" + strName, "b");
    m_dir.WriteFile("two/caf\xc3\xa9-\xff\xfe.bin", "c"); // the same name in UTF-8 differs
    const auto messages = RunSearch(m_dir.Path(), true, METHOD_NAME);
    const auto pairs = DuplicatePairs(messages);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(BaseName(pairs[0].first), strName);
    EXPECT_EQ(BaseName(pairs[0].second), strName);
    EXPECT_NE(pairs[0].first, pairs[0].second);
}

TEST_F(SearchWorker, MethodOutsideTheKnownOnesFindsNothing) {
    m_dir.WriteFile("a/x", "same");
    m_dir.WriteFile("b/x", "same");
    const auto messages = RunSearch(m_dir.Path(), true, 7);
    ExpectFrame(messages, 2);
    EXPECT_EQ(CountOf(messages, UWM_FILE_SCANNED), 2);
    EXPECT_TRUE(DuplicatePairs(messages).empty());
}

// Makes a folder whose full path is longer than the system takes, below dir/deep.
std::string MakeTooLongPath(const CTempDir& dir) {
    const std::string strComponent(200, 'p');
    int nFd = open(dir.MakeDir("deep").c_str(), O_RDONLY | O_DIRECTORY);
    std::string strPath = dir / "deep";
    for (int i = 0; i < 24; ++i) {
        mkdirat(nFd, strComponent.c_str(), 0700);
        const int nNext = openat(nFd, strComponent.c_str(), O_RDONLY | O_DIRECTORY);
        close(nFd);
        nFd = nNext;
        strPath += "/" + strComponent;
    }
    const int nFile = openat(nFd, "x.txt", O_CREAT | O_WRONLY, 0600);
    close(nFile);
    close(nFd);
    return strPath;
}

TEST_F(SearchWorker, FolderThatCannotBeEnumeratedContributesNothing) {
    m_dir.WriteFile("top/x.txt", "x");
    m_dir.WriteFile("after/y.txt", "y");
    // A path too long to open fails for every user, root included.
    const std::string strLong = MakeTooLongPath(m_dir);
    ASSERT_GT(strLong.size(), 4096u);
    // Permission bits stop only users other than root.
    const bool bCanLockOut = geteuid() != 0;
    if (bCanLockOut) {
        m_dir.WriteFile("locked/x.txt", "x");
        chmod((m_dir / "locked").c_str(), 0);
    }
    const auto messages = RunSearch(m_dir.Path(), true, METHOD_NAME);
    chmod((m_dir / "locked").c_str(), 0700);
    ExpectFrame(messages, 2);
    const auto scanned = ScannedPaths(messages);
    EXPECT_EQ(std::set<std::string>(scanned.begin(), scanned.end()),
              (std::set<std::string>{m_dir / "top/x.txt", m_dir / "after/y.txt"}));
    for (const RecordedMessage& msg : messages)
        EXPECT_TRUE(msg.nMessage != UWM_DUPLICATE_FOUND) << msg.strWParam;
}

TEST_F(SearchWorker, FilesAddedBetweenThePassesAreNotLost) {
    m_dir.WriteFile("a/x", "1");
    m_dir.WriteFile("a/y", "2");
    auto pTarget = std::make_shared<CRecordingTarget>();
    // The second reset is sent after the counting pass: add files before the listing pass.
    pTarget->m_fnOnMessage = [this](const RecordedMessage& msg) {
        if (msg.nMessage == UWM_RESET_RESULTS && msg.nLParam == 2)
            for (const char* pszName : {"b/x", "b/y", "b/z", "c/w", "c/x"})
                m_dir.WriteFile(pszName, "n");
    };
    const auto messages = RunSearch(m_dir.Path(), true, METHOD_NAME, pTarget);
    ExpectFrame(messages, 2);
    EXPECT_EQ(CountOf(messages, UWM_FILE_SCANNED), 7);
    // Three x, two y: three reports.
    EXPECT_EQ(DuplicatePairs(messages).size(), 3u);
}

TEST_F(SearchWorker, SearchThatRunsOutOfMemoryEndsOnceAndSaysItIsIncomplete) {
    for (int i = 0; i < 5; ++i)
        m_dir.WriteFile("d" + std::to_string(i) + "/same.txt", "x");
    auto pTarget = std::make_shared<CRecordingTarget>();
    // An allocation that fails while the third file is handled.
    int nScanned = 0;
    pTarget->m_fnOnMessage = [&nScanned](const RecordedMessage& msg) {
        if (msg.nMessage == UWM_FILE_SCANNED && ++nScanned == 3)
            throw std::bad_alloc();
    };
    const auto messages = RunSearch(m_dir.Path(), true, METHOD_NAME, pTarget);
    ExpectFrame(messages, 5);
    EXPECT_EQ(CountOf(messages, UWM_FILE_SCANNED), 3);
    EXPECT_EQ(DuplicatePairs(messages).size(), 1u);
    EXPECT_EQ(messages.back().nLParam, SEARCH_INCOMPLETE);

    // A search that runs to its end says nothing of the kind.
    EXPECT_EQ(RunSearch(m_dir.Path(), true, METHOD_NAME).back().nLParam, 0);
}

} // namespace
