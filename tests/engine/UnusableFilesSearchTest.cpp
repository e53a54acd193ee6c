// Searches over trees that hold files a method cannot use (empty, or gone by the time they are
// looked up) beside real duplicates: every readable duplicate must still be found.
#include "engine/CompareMethod.h"
#include "search/SearchMessages.h"
#include "tests/support/RecordingTarget.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Groups = ReportGroups;

class UnusableFilesSearch : public testing::TestWithParam<int> {};

TEST_P(UnusableFilesSearch, FindsEveryReadableDuplicate) {
    const int nMethod = GetParam();
    ResetSearchEvents();
    CTempDir dir;
    // Twelve contents in three copies each, spread over folders, with empty files and files
    // that vanish between their scan and their lookup mixed in.
    std::map<std::string, std::set<std::string>> byContent;
    std::map<std::string, int> vanishing; // path -> what takes its place
    for (int nCopy = 0; nCopy < 3; ++nCopy) {
        for (int nContent = 0; nContent < 12; ++nContent) {
            const std::string strContent =
                "content " + std::to_string(nContent) + std::string(nContent % 4, '!');
            const std::string strPath =
                dir.WriteFile("d" + std::to_string((nContent + nCopy) % 5) + "/f" +
                                  std::to_string(nCopy) + "-" + std::to_string(nContent),
                              strContent);
            byContent[strContent].insert(strPath);
        }
        for (int nEmpty = 0; nEmpty < 3; ++nEmpty)
            byContent[""].insert(dir.WriteFile(
                "d" + std::to_string(nEmpty) + "/empty" + std::to_string(nCopy * 3 + nEmpty), ""));
        const std::string strGone =
            dir.WriteFile("d" + std::to_string(nCopy) + "/gone" + std::to_string(nCopy), "gone");
        vanishing[strGone] = nCopy;
    }
    auto pTarget = std::make_shared<CRecordingTarget>();
    // A vanishing file goes as soon as it is scanned, before it is looked up: removed, or
    // replaced by a FIFO (whose open or read would block) or by a link to an endless device.
    pTarget->m_fnOnMessage = [&vanishing](const RecordedMessage& msg) {
        const auto it = vanishing.find(msg.strWParam);
        if (msg.nMessage != UWM_FILE_SCANNED || it == vanishing.end())
            return;
        const char* pszPath = msg.strWParam.c_str();
        unlink(pszPath);
        if (it->second == 1)
            mkfifo(pszPath, 0600);
        else if (it->second == 2)
            symlink("/dev/zero", pszPath);
    };
    const auto messages = RunSearch(dir.Path(), true, nMethod, pTarget);

    Groups expected;
    for (const auto& [strContent, paths] : byContent)
        if (!strContent.empty() || nMethod == METHOD_MD5) // empty files match by MD5 only
            expected.insert(paths);
    EXPECT_EQ(ReportedGroups(messages), expected);
}

INSTANTIATE_TEST_SUITE_P(ContentMethods, UnusableFilesSearch,
                         testing::Values(METHOD_SIZE_CRC, METHOD_BYTES, METHOD_MD5));

} // namespace
