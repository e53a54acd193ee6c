#include "search/RepresentativeIndex.h"

#include "engine/CompareMethod.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Slots(const CRepresentativeIndex& index) {
    std::vector<std::string> slots;
    for (size_t i = 0; i < index.GetCount(); ++i)
        slots.push_back(index.GetAt(i));
    return slots;
}

TEST(RepresentativeIndex, KeepsPathsSortedAndUnique) {
    CompareMethod = METHOD_NAME;
    CRepresentativeIndex index;
    ASSERT_TRUE(index.Reserve(3));
    EXPECT_EQ(index.IndexFind("/x/m"), -1);
    // Into an empty index, at the end, at the front.
    index.IndexInsert("/x/m");
    index.IndexInsert("/x/z");
    index.IndexInsert("/x/a");
    EXPECT_EQ(Slots(index), (std::vector<std::string>{"/x/a", "/x/m", "/x/z"}));
    // An equal file is found and never stored; the first of its kind stays.
    EXPECT_EQ(index.IndexFind("/other/m"), 1);
    index.IndexInsert("/other/m");
    EXPECT_EQ(Slots(index), (std::vector<std::string>{"/x/a", "/x/m", "/x/z"}));
    EXPECT_EQ(index.IndexFind("/x/b"), -1);
}

TEST(RepresentativeIndex, GrowsPastItsReservedRoomWithoutLosingPaths) {
    CompareMethod = METHOD_NAME;
    CRepresentativeIndex index;
    ASSERT_TRUE(index.Reserve(2));
    const std::vector<std::string> names = {"e", "b", "d", "a", "c", "f"};
    for (const std::string& strName : names)
        index.IndexInsert("/d/" + strName);
    EXPECT_EQ(Slots(index),
              (std::vector<std::string>{"/d/a", "/d/b", "/d/c", "/d/d", "/d/e", "/d/f"}));
    for (const std::string& strName : names)
        EXPECT_GE(index.IndexFind("/elsewhere/" + strName), 0) << strName;
}

TEST(RepresentativeIndex, ReadsAsOneSortedArrayAcrossManyBlocks) {
    CompareMethod = METHOD_NAME;
    CRepresentativeIndex index;
    // Little reserved room: the index grows past it and splits its blocks many times.
    ASSERT_TRUE(index.Reserve(100));
    std::mt19937 random(7);
    std::set<std::string> reference;
    for (int i = 0; i < 6000; ++i) {
        const std::string strName = std::to_string(random() % 4000);
        const int nFound = index.IndexFind("/a/" + strName);
        EXPECT_EQ(nFound >= 0, reference.count(strName) == 1) << strName;
        index.IndexInsert("/a/" + strName);
        reference.insert(strName);
    }
    ASSERT_EQ(index.GetCount(), reference.size());
    size_t nRank = 0;
    for (const std::string& strName : reference) {
        EXPECT_EQ(index.GetAt(nRank), "/a/" + strName);
        EXPECT_EQ(index.IndexFind("/b/" + strName), static_cast<int>(nRank));
        ++nRank;
    }
}

TEST(RepresentativeIndex, ReportsRoomThatCannotBeHad) {
    CRepresentativeIndex index;
    EXPECT_FALSE(index.Reserve(SIZE_MAX / 4));
    EXPECT_EQ(index.GetCount(), 0u);
    EXPECT_EQ(index.IndexFind("/d/a"), -1);
}

} // namespace
