#include "cli/Md5Files.h"

#include "cli/Md5Lanes.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>

namespace {

// Files of sizes around the block, padding and buffer boundaries, more of them than there are
// lanes, so that lanes end and take new files at different times.
TEST(Md5Files, LaneDigestsEqualTheScalarDigests) {
    if (!Md5LanesAvailable())
        GTEST_SKIP() << "no AVX2 on this processor";
    CTempDir dir;
    std::mt19937 random(5);
    const std::size_t sizes[] = {0,   1,    55,    56,    63,     64,         65,    119, 120,
                                 127, 128,  4095,  4096,  65535,  65536,      65537, 100, 3,
                                 200, 1000, 70000, 64000, 131072, 131072 + 7, 300000};
    std::vector<std::string> paths;
    std::vector<std::int64_t> fileSizes;
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        std::string strContent(sizes[i], '\0');
        for (char& ch : strContent)
            ch = static_cast<char>(random() & 0xFF);
        paths.push_back(dir.WriteFile(std::string("f") + std::to_string(i), strContent));
        fileSizes.push_back(static_cast<std::int64_t>(sizes[i]));
    }
    // One file whose size is no longer what the walk saw.
    paths.push_back(dir.WriteFile("changed", "12345"));
    fileSizes.push_back(4);

    CMd5Job job;
    job.nCount = paths.size();
    job.fnRef = [&](std::size_t i) { return CFileRef{AT_FDCWD, paths[i]}; };
    job.fnSize = [&](std::size_t i) { return fileSizes[i]; };
    std::atomic<std::size_t> nNext{0};
    std::atomic<bool> bStop{false};
    std::vector<CMd5Digest> digests(paths.size());
    std::vector<char> outcome(paths.size(), 0);
    std::size_t nDone = 0;
    HashFilesInLanes(job, nNext, bStop, digests, outcome, [&nDone](std::size_t) { ++nDone; });

    EXPECT_EQ(nDone, paths.size());
    CAlignedBuffer buffer(4096);
    for (std::size_t i = 0; i + 1 < paths.size(); ++i) {
        SCOPED_TRACE(sizes[i]);
        ASSERT_EQ(outcome[i], 1);
        CMd5Digest expected{};
        ASSERT_TRUE(FileMd5(CFileRef{AT_FDCWD, paths[i]}, fileSizes[i], buffer, expected));
        EXPECT_EQ(digests[i], expected);
    }
    EXPECT_EQ(outcome.back(), 2);
}

TEST(Md5Files, StopLeavesFilesUndecided) {
    if (!Md5LanesAvailable())
        GTEST_SKIP() << "no AVX2 on this processor";
    CTempDir dir;
    const std::string strPath = dir.WriteFile("f", "abc");
    CMd5Job job;
    job.nCount = 3;
    job.fnRef = [&](std::size_t) { return CFileRef{AT_FDCWD, strPath}; };
    job.fnSize = [](std::size_t) { return std::int64_t{3}; };
    std::atomic<std::size_t> nNext{0};
    std::atomic<bool> bStop{true};
    std::vector<CMd5Digest> digests(3);
    std::vector<char> outcome(3, 0);
    HashFilesInLanes(job, nNext, bStop, digests, outcome, [](std::size_t) {});
    EXPECT_EQ(outcome, std::vector<char>(3, 0));
}

} // namespace
