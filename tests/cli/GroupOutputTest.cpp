#include "cli/GroupOutput.h"

#include "cli/DuplicateGroups.h"
#include "tests/cli/JsonReader.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

// Groups as reported: a, then b, the first report for each creating its group.
CDuplicateGroups SampleGroups() {
    CDuplicateGroups groups;
    groups.OnDuplicateFound("/t/a", "/t/x/a");
    groups.OnDuplicateFound("/t/b", "/t/x/b");
    groups.OnDuplicateFound("/t/a", "/t/y/a");
    groups.OnDuplicateFound("/t/\xFF", "/t/x/\xFF");
    return groups;
}

TEST(DuplicateGroups, GroupsInCreationOrderDuplicatesInReportOrder) {
    const CDuplicateGroups groups = SampleGroups();
    ASSERT_EQ(groups.Groups().size(), 3u);
    EXPECT_EQ(groups.Groups()[0].strRepresentative, "/t/a");
    EXPECT_EQ(groups.Groups()[0].duplicates, (std::vector<CString>{"/t/x/a", "/t/y/a"}));
    EXPECT_EQ(groups.Groups()[1].strRepresentative, "/t/b");
    EXPECT_EQ(groups.Groups()[2].strRepresentative, "/t/\xFF");
    EXPECT_EQ(groups.DuplicateCount(), 4u);
}

TEST(DuplicateGroups, ClearForgetsEverything) {
    CDuplicateGroups groups = SampleGroups();
    groups.Clear();
    EXPECT_TRUE(groups.Groups().empty());
    EXPECT_EQ(groups.DuplicateCount(), 0u);
    // A representative seen before the reset starts a new group afterwards.
    groups.OnDuplicateFound("/t/b", "/t/z/b");
    ASSERT_EQ(groups.Groups().size(), 1u);
    EXPECT_EQ(groups.Groups()[0].duplicates.size(), 1u);
}

TEST(GroupOutput, TextBlocksWithRawBytes) {
    std::ostringstream out;
    WriteGroupsText(out, SampleGroups());
    EXPECT_EQ(out.str(), "/t/a\n/t/x/a\n/t/y/a\n\n"
                         "/t/b\n/t/x/b\n\n"
                         "/t/\xFF\n/t/x/\xFF\n\n");
    std::ostringstream empty;
    WriteGroupsText(empty, CDuplicateGroups());
    EXPECT_EQ(empty.str(), "");
}

TEST(GroupOutput, JsonDocumentReadsBack) {
    const std::map<CString, std::int64_t> sizes = {{"/t/a", 12}, {"/t/\xFF", 0}};
    auto fnSize = [&sizes](const CString& strPath) -> std::optional<std::int64_t> {
        const auto it = sizes.find(strPath);
        if (it == sizes.end())
            return std::nullopt;
        return it->second;
    };
    std::ostringstream out;
    WriteGroupsJson(out, CSearchSummary{"/t", true, 2, false}, SampleGroups(), fnSize);

    const CJsonValue doc = ParseJson(out.str());
    EXPECT_EQ(doc["folder"].strValue, "/t");
    EXPECT_TRUE(doc["recursive"].bValue);
    EXPECT_EQ(doc["method"].strValue, "bytes");
    EXPECT_EQ(doc["interrupted"].kind, CJsonValue::Kind::Bool);
    EXPECT_FALSE(doc["interrupted"].bValue);
    EXPECT_EQ(doc["duplicates"].nValue, 4);
    const auto& groups = doc["groups"].items;
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0]["size"].nValue, 12);
    ASSERT_EQ(groups[0]["files"].items.size(), 3u);
    EXPECT_EQ(groups[0]["files"].items[0].strValue, "/t/a");
    EXPECT_EQ(groups[0]["files"].items[2].strValue, "/t/y/a");
    // A size that cannot be had is null, not a made-up number.
    EXPECT_EQ(groups[1]["size"].kind, CJsonValue::Kind::Null);
    EXPECT_EQ(groups[2]["size"].nValue, 0);
    EXPECT_EQ(groups[2]["files"].items[1]["hex"].strValue, "2f742f782fff");
}

TEST(GroupOutput, JsonWithoutGroups) {
    std::ostringstream out;
    WriteGroupsJson(out, CSearchSummary{"/\xFE", false, 0, true}, CDuplicateGroups());
    const CJsonValue doc = ParseJson(out.str());
    EXPECT_EQ(doc["folder"]["hex"].strValue, "2ffe");
    EXPECT_EQ(doc["method"].strValue, "name");
    EXPECT_TRUE(doc["interrupted"].bValue);
    EXPECT_EQ(doc["duplicates"].nValue, 0);
    EXPECT_EQ(doc["groups"].kind, CJsonValue::Kind::Array);
    EXPECT_TRUE(doc["groups"].items.empty());
}

} // namespace
