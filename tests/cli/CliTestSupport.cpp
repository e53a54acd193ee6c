#include "tests/cli/CliTestSupport.h"

#include "tests/support/RecordingTarget.h"

#include <gtest/gtest.h>
#include <map>

CChildResult RunCliBinary(const std::vector<std::string>& args, const CChildOptions& options) {
    std::vector<std::string> argv = {TWINSIFT_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunChild(argv, options);
}

std::vector<std::vector<std::string>> ParseTextGroups(const std::string& strOut) {
    std::vector<std::vector<std::string>> groups;
    std::vector<std::string> current;
    std::size_t nPos = 0;
    while (nPos < strOut.size()) {
        const std::size_t nEnd = strOut.find('\n', nPos);
        if (nEnd == std::string::npos) {
            ADD_FAILURE() << "output does not end with a line break";
            break;
        }
        std::string strLine = strOut.substr(nPos, nEnd - nPos);
        nPos = nEnd + 1;
        if (strLine.empty()) {
            EXPECT_FALSE(current.empty()) << "blank line without a group";
            groups.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(std::move(strLine));
        }
    }
    EXPECT_TRUE(current.empty()) << "last group not ended by a blank line";
    return groups;
}

GroupSet AsGroupSet(const std::vector<std::vector<std::string>>& groups) {
    GroupSet result;
    for (const auto& group : groups)
        result.emplace(group.begin(), group.end());
    return result;
}

std::vector<std::vector<std::string>> WorkerGroups(const std::string& strFolder, bool bRecursive,
                                                   int nMethod) {
    ResetSearchEvents();
    std::vector<std::vector<std::string>> groups;
    std::map<std::string, std::size_t> groupOf;
    for (const auto& [strRep, strDup] : DuplicatePairs(RunSearch(strFolder, bRecursive, nMethod))) {
        auto [it, bNew] = groupOf.try_emplace(strRep, groups.size());
        if (bNew)
            groups.push_back({strRep});
        groups[it->second].push_back(strDup);
    }
    return groups;
}
