// The worker over a generated tree of a few thousand files in nested folders, checked against
// groups the test computes on its own from what it generated.
#include "engine/CompareMethod.h"
#include "tests/search/SearchTestUtil.h"
#include "tests/support/RecordingTarget.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using Groups = ReportGroups;

// The groups the reports make, after checking that every representative was scanned before
// the files reported against it.
Groups GroupsFromReports(const std::vector<RecordedMessage>& messages) {
    std::set<std::string> scannedSoFar;
    for (const RecordedMessage& msg : messages) {
        if (msg.nMessage == UWM_FILE_SCANNED)
            scannedSoFar.insert(msg.strWParam);
        if (msg.nMessage == UWM_DUPLICATE_FOUND) {
            EXPECT_TRUE(scannedSoFar.count(msg.strWParam)) << msg.strWParam;
        }
    }
    return ReportedGroups(messages);
}

TEST(GeneratedTree, FindsExactlyTheSameNameGroups) {
    CompareMethod = METHOD_NAME;
    ResetSearchEvents();
    CTempDir dir;
    std::mt19937 random(20261211);
    // Names drawn from a pool small enough to repeat; folders nested up to four deep.
    std::map<std::string, std::set<std::string>> allByName;
    std::map<std::string, std::set<std::string>> topByName;
    for (int i = 0; i < 3000; ++i) {
        std::string strFolder;
        const int nDepth = static_cast<int>(random() % 5);
        for (int d = 0; d < nDepth; ++d)
            strFolder += "d" + std::to_string(random() % 4) + "/";
        const std::string strName = "n" + std::to_string(random() % 1200) + ".dat";
        const std::string strPath = dir.WriteFile(strFolder + strName, "");
        allByName[strName].insert(strPath);
        if (nDepth == 0)
            topByName[strName].insert(strPath);
    }
    auto expectedGroups = [](const std::map<std::string, std::set<std::string>>& byName) {
        Groups groups;
        for (const auto& [strName, paths] : byName)
            if (paths.size() > 1)
                groups.insert(paths);
        return groups;
    };
    size_t nAll = 0;
    for (const auto& [strName, paths] : allByName)
        nAll += paths.size();
    size_t nTop = 0;
    for (const auto& [strName, paths] : topByName)
        nTop += paths.size();

    const auto recursive = RunSearch(dir.Path(), true, METHOD_NAME);
    EXPECT_EQ(ScannedPaths(recursive).size(), nAll);
    EXPECT_EQ(recursive[1].nLParam, static_cast<std::int64_t>(nAll));
    EXPECT_EQ(GroupsFromReports(recursive), expectedGroups(allByName));

    const auto flat = RunSearch(dir.Path(), false, METHOD_NAME);
    EXPECT_EQ(ScannedPaths(flat).size(), nTop);
    EXPECT_EQ(GroupsFromReports(flat), expectedGroups(topByName));
}

} // namespace
