// Whole searches with each content method over a fixture tree, checked against groups that
// the test computes on its own by reading every file.
#include "engine/CompareMethod.h"
#include "search/SearchMessages.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/RecordingTarget.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// The pairs a search must report: in the order the files were scanned, each file whose bytes
// equal those of an earlier scanned file is a duplicate of the first such file. Empty files
// take part only where the method lets them be duplicates.
std::vector<std::pair<std::string, std::string>>
ExpectedPairs(const std::vector<RecordedMessage>& messages, bool bEmptyFilesMatch) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::map<std::string, std::string> firstByContent;
    for (const RecordedMessage& msg : messages) {
        if (msg.nMessage != UWM_FILE_SCANNED)
            continue;
        const std::string strContent = ReadFileBytes(msg.strWParam);
        if (strContent.empty() && !bEmptyFilesMatch)
            continue;
        const auto [it, bFirst] = firstByContent.emplace(strContent, msg.strWParam);
        if (!bFirst)
            pairs.emplace_back(it->second, msg.strWParam);
    }
    return pairs;
}

class ContentSearch : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ResetSearchEvents();
        const std::string strBig = RandomBytes(300000, 1);
        std::string strBigOtherEnd = strBig;
        strBigOtherEnd.back() = static_cast<char>(strBigOtherEnd.back() ^ 0x80);
        std::string strBigOtherStart = strBig;
        strBigOtherStart.front() = static_cast<char>(strBigOtherStart.front() ^ 0x01);
        // Four copies of one text in three folders.
        m_dir.WriteFile("top/a.txt", "alpha");
        m_dir.WriteFile("top/a2.txt", "alpha");
        m_dir.WriteFile("top/sub/a-copy.txt", "alpha");
        m_dir.WriteFile("top/sub/deeper/a-again", "alpha");
        // Same size as the text above, different bytes, and a copy.
        m_dir.WriteFile("top/b.txt", "alphb");
        m_dir.WriteFile("top/sub/b2.txt", "alphb");
        // Larger files that differ only in their last or first byte, and a true copy.
        m_dir.WriteFile("top/big1.bin", strBig);
        m_dir.WriteFile("top/sub/big2.bin", strBigOtherEnd);
        m_dir.WriteFile("top/sub/big3.bin", strBigOtherStart);
        m_dir.WriteFile("top/sub/deeper/big-copy.bin", strBig);
        // Unique files, including binary bytes and a name shared with a different content.
        m_dir.WriteFile("top/unique1", std::string("\x00\x80\xff", 3));
        m_dir.WriteFile("top/sub/unique2", std::string("\x00\x7f\xff", 3));
        m_dir.WriteFile("top/sub/deeper/a.txt", "not alpha");
        // Empty files: duplicates only under MD5.
        m_dir.WriteFile("top/empty1", "");
        m_dir.WriteFile("top/empty-too", "");
        m_dir.WriteFile("top/sub/empty2", "");
        m_dir.WriteFile("top/sub/deeper/empty3", "");
    }
    void TearDown() override { CompareMethod = METHOD_NAME; }

    CTempDir m_dir;
};

TEST_P(ContentSearch, FindsExactlyTheGroupsOfEqualContent) {
    const int nMethod = GetParam();
    const bool bEmptyFilesMatch = nMethod == METHOD_MD5;
    for (const bool bRecursive : {true, false}) {
        const std::vector<RecordedMessage> messages = RunSearch(m_dir / "top", bRecursive, nMethod);
        const auto expected = ExpectedPairs(messages, bEmptyFilesMatch);
        EXPECT_EQ(DuplicatePairs(messages), expected) << "recursive " << bRecursive;
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back().nMessage, UWM_SEARCH_FINISHED);
        // The fixture does hold duplicates in both runs, so the comparison is not vacuous.
        const std::size_t nExpectedPairs =
            bRecursive ? (bEmptyFilesMatch ? 8u : 5u) : (bEmptyFilesMatch ? 2u : 1u);
        EXPECT_EQ(expected.size(), nExpectedPairs) << "recursive " << bRecursive;
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, ContentSearch,
                         testing::Values(METHOD_SIZE_CRC, METHOD_BYTES, METHOD_MD5),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == METHOD_SIZE_CRC
                                        ? std::string("SizeCrc")
                                        : (info.param == METHOD_BYTES ? "Bytes" : "Md5");
                         });

} // namespace
