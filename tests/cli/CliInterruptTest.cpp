// Ctrl-C during a long search: the worker ends cleanly, the groups found so far are written
// as a well-formed document, and the exit status is 130.
#include "tests/cli/CliTestSupport.h"
#include "tests/cli/JsonReader.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <regex>
#include <signal.h>
#include <unistd.h>

namespace {

// A sparse file of nSize bytes whose last byte is chLast: large to hash, cheap to make.
void MakeSparseFile(const std::string& strPath, off_t nSize, char chLast) {
    const int fd = open(strPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, nSize - 1), 0);
    ASSERT_EQ(pwrite(fd, &chLast, 1, nSize - 1), 1);
    close(fd);
}

struct EngineCase {
    const char* pszEngine;
    // Pairs of equal files, each pair of its own size from nBaseSize on.
    int nPairs;
    off_t nBaseSize;
    // The progress text after which Ctrl-C is pressed.
    const char* pszReady;
    // Whether some group must have been found by then.
    bool bGroupFound;
};

TEST(CliInterrupt, CtrlCWritesTheGroupsFoundSoFarAndExits130) {
    // Under MD5 every file is read whole, so each search lasts far longer than the test waits
    // for it. The index engine hashes both files of every comparison anew; the grouped engine
    // hashes every file once, eight at a time, and needs far more data to last (sparse files
    // make it cheap: 6 GiB read at memory speed still takes seconds).
    const EngineCase cases[] = {
        // After the first duplicate is reported.
        {"index", 16, off_t{8} << 20, ", [1-9][0-9]* duplicates", true},
        // As soon as the first progress line shows; a family is decided only when all its
        // files are read, so no group need be found by then.
        {"grouped", 24, off_t{128} << 20, "Listing files|Reading", false},
    };
    for (const EngineCase& c : cases) {
        SCOPED_TRACE(c.pszEngine);
        CTempDir dir;
        for (int i = 0; i < c.nPairs; ++i) {
            const char chLast = static_cast<char>('A' + i);
            for (const char chSide : {'a', 'b'}) {
                std::string strName(1, chSide);
                strName += std::to_string(i);
                MakeSparseFile(dir / strName, c.nBaseSize + i, chLast);
            }
        }
        CChildOptions options;
        // The progress line tells when the search has got far enough.
        options.bErrIsTerminal = true;
        bool bSignalled = false;
        const std::regex ready(c.pszReady);
        options.fnOnErr = [&](pid_t pid, const std::string& strErr) {
            if (!bSignalled && std::regex_search(strErr, ready)) {
                kill(pid, SIGINT);
                bSignalled = true;
            }
        };
        const CChildResult result =
            RunCliBinary({"-m", "md5", "--json", "--engine", c.pszEngine, dir.Path()}, options);
        ASSERT_TRUE(bSignalled) << result.strErr;
        ASSERT_FALSE(result.bTimedOut);
        EXPECT_EQ(result.nStatus, 130) << result.strErr;

        const CJsonValue doc = ParseJson(result.strOut);
        EXPECT_TRUE(doc["interrupted"].bValue);
        const auto& groups = doc["groups"].items;
        if (c.bGroupFound) {
            EXPECT_GE(groups.size(), 1u);
        }
        // Stopped well before the end.
        EXPECT_LT(groups.size(), static_cast<std::size_t>(c.nPairs));
        // Every group found so far is a real pair: a and b of the same number.
        for (const CJsonValue& group : groups) {
            const auto& files = group["files"].items;
            ASSERT_EQ(files.size(), 2u);
            const std::string strFirst = files[0].strValue.substr(dir.Path().size() + 1);
            const std::string strSecond = files[1].strValue.substr(dir.Path().size() + 1);
            EXPECT_EQ(strFirst.substr(1), strSecond.substr(1));
            EXPECT_NE(strFirst[0], strSecond[0]);
            EXPECT_EQ(group["size"].nValue, c.nBaseSize + std::stoi(strFirst.substr(1)));
        }
        EXPECT_NE(result.strErr.find(std::string("Total Duplicate files: ") +
                                     std::to_string(groups.size())),
                  std::string::npos)
            << result.strErr;
    }
}

} // namespace
