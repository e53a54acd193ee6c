#include "engine/MappedFile.h"

#include "engine/CompareByBytes.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint32_t WINDOW = 4 * 64 * 1024;

// The seam of these tests: every view the mapping code is asked for is recorded; a whole-file
// view (offset 0, length g_nWholeSize) fails with g_nWholeErrno; the request with index
// g_nFailView fails with g_nFailErrno; before the request with index g_nTruncateAt is mapped,
// the file g_strTruncate is cut to g_nTruncateTo bytes.
struct MapRequest {
    std::int64_t nOffset;
    std::uint64_t nLength;
};
std::vector<MapRequest> g_requests;
std::uint64_t g_nWholeSize = 0;
int g_nWholeErrno = ENOMEM;
int g_nFailView = -1;
int g_nFailErrno = EACCES;
int g_nTruncateAt = -1;
off_t g_nTruncateTo = 0;
std::string g_strTruncate;

int MapViewSeam(std::int64_t nOffset, std::uint64_t nLength) {
    const int nIndex = static_cast<int>(g_requests.size());
    g_requests.push_back({nOffset, nLength});
    if (nIndex == g_nTruncateAt) {
        EXPECT_EQ(truncate(g_strTruncate.c_str(), g_nTruncateTo), 0);
    }
    if (nIndex == g_nFailView)
        return g_nFailErrno;
    if (nOffset == 0 && nLength == g_nWholeSize)
        return g_nWholeErrno;
    return 0;
}

class MappedFileSeam : public testing::Test {
protected:
    void SetUp() override {
        g_requests.clear();
        g_nWholeSize = 0;
        g_nWholeErrno = ENOMEM;
        g_nFailView = -1;
        g_nFailErrno = EACCES;
        g_nTruncateAt = -1;
        g_nTruncateTo = 0;
        g_strTruncate.clear();
        SetMapViewHook(MapViewSeam);
    }
    void TearDown() override { SetMapViewHook(nullptr); }

    CTempDir m_dir;
};

// Files of two full windows and a shorter third one.
constexpr std::size_t WALK_SIZE = 2 * WINDOW + 1000;

struct WalkCase {
    const char* pszName;
    std::size_t nDiffAt; // WALK_SIZE: no difference
    unsigned char chLooked;
    unsigned char chHeld;
    int nExpected;
    std::size_t nWindowPairs; // pairs of windows mapped before the result was known
};

void PrintTo(const WalkCase& c, std::ostream* pOut) {
    *pOut << c.pszName;
}

class WindowWalk : public MappedFileSeam, public testing::WithParamInterface<WalkCase> {};

TEST_P(WindowWalk, ComparesWindowByWindowWhenNoWholeViewFits) {
    const WalkCase& c = GetParam();
    std::string strLooked = RandomBytes(WALK_SIZE, 11);
    std::string strHeld = strLooked;
    if (c.nDiffAt < WALK_SIZE) {
        strLooked[c.nDiffAt] = static_cast<char>(c.chLooked);
        strHeld[c.nDiffAt] = static_cast<char>(c.chHeld);
    }
    const std::string strLookedPath = m_dir.WriteFile("looked", strLooked);
    const std::string strHeldPath = m_dir.WriteFile("held", strHeld);
    g_nWholeSize = WALK_SIZE;

    EXPECT_EQ(CompareByBytes(strLookedPath, strHeldPath), c.nExpected);

    // One failed whole view, then windows in step: looked-up file first, each window at a
    // multiple of the granularity, full windows but the last.
    ASSERT_EQ(g_requests.size(), 1 + 2 * c.nWindowPairs);
    EXPECT_EQ(g_requests[0].nOffset, 0);
    EXPECT_EQ(g_requests[0].nLength, WALK_SIZE);
    for (std::size_t nPair = 0; nPair < c.nWindowPairs; ++nPair) {
        const std::uint64_t nLength = nPair < 2 ? WINDOW : 1000;
        for (std::size_t nSide = 0; nSide < 2; ++nSide) {
            const MapRequest& request = g_requests[1 + 2 * nPair + nSide];
            EXPECT_EQ(request.nOffset, static_cast<std::int64_t>(nPair * WINDOW));
            EXPECT_EQ(request.nLength, nLength);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowWalk,
    testing::Values(WalkCase{"Equal", WALK_SIZE, 0, 0, 0, 3},
                    WalkCase{"FirstByte", 0, 0x10, 0x20, -1, 1},
                    WalkCase{"LastByteOfFirstWindow", WINDOW - 1, 0x80, 0x7F, 1, 1},
                    WalkCase{"FirstByteOfSecondWindow", WINDOW, 0x7F, 0x80, -1, 2},
                    WalkCase{"FirstByteOfLastShortWindow", 2 * WINDOW, 0xFF, 0x00, 1, 3},
                    WalkCase{"LastByteOfLastShortWindow", WALK_SIZE - 1, 0x00, 0x01, -1, 3}),
    [](const testing::TestParamInfo<WalkCase>& info) { return info.param.pszName; });

// Either file's whole view may be the one that fails for lack of memory; a file smaller than
// one window is then walked as one short window.
class LackOfMemoryOnOneSide : public MappedFileSeam, public testing::WithParamInterface<int> {};

TEST_P(LackOfMemoryOnOneSide, FallsBackToWindows) {
    const int nFailing = GetParam(); // request 0: looked-up file, 1: representative
    std::string strBytes = RandomBytes(5000, 3);
    const std::string strHeld = m_dir.WriteFile("held", strBytes);
    strBytes.back() = static_cast<char>(strBytes.back() ^ 0x01);
    const std::string strLooked = m_dir.WriteFile("looked", strBytes);
    const std::string strCopy = m_dir.WriteFile("copy", strBytes);
    const int nExpected = (strBytes.back() & 0x01) ? 1 : -1;
    for (const auto& [strOther, nResult] : {std::pair{strHeld, nExpected}, std::pair{strCopy, 0}}) {
        g_requests.clear();
        g_nFailView = nFailing;
        g_nFailErrno = ENOMEM;
        EXPECT_EQ(CompareByBytes(strLooked, strOther), nResult);
        // The whole views asked for, then one window of each file.
        ASSERT_EQ(g_requests.size(), static_cast<std::size_t>(nFailing + 3));
        for (std::size_t n = 0; n < g_requests.size(); ++n) {
            EXPECT_EQ(g_requests[n].nOffset, 0);
            EXPECT_EQ(g_requests[n].nLength, 5000u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sides, LackOfMemoryOnOneSide, testing::Values(0, 1));

TEST_F(MappedFileSeam, AWholeViewFailingForAnotherReasonGivesOne) {
    const std::string strBytes = RandomBytes(WALK_SIZE, 4);
    const std::string strLooked = m_dir.WriteFile("looked", strBytes);
    const std::string strHeld = m_dir.WriteFile("held", strBytes);
    g_nWholeSize = WALK_SIZE;
    g_nWholeErrno = EACCES;
    EXPECT_EQ(CompareByBytes(strLooked, strHeld), 1);
    EXPECT_EQ(g_requests.size(), 1u); // no window walk
    // The representative's whole view failing gives 1 too.
    g_requests.clear();
    g_nWholeSize = 0;
    g_nFailView = 1;
    EXPECT_EQ(CompareByBytes(strLooked, strHeld), 1);
    EXPECT_EQ(g_requests.size(), 2u);
}

TEST_F(MappedFileSeam, AWindowThatCannotBeMappedGivesOne) {
    const std::string strBytes = RandomBytes(WALK_SIZE, 6);
    const std::string strLooked = m_dir.WriteFile("looked", strBytes);
    const std::string strHeld = m_dir.WriteFile("held", strBytes);
    g_nWholeSize = WALK_SIZE;
    // Requests: whole, then (looked, held) pairs; fail the representative's second window.
    g_nFailView = 4;
    EXPECT_EQ(CompareByBytes(strLooked, strHeld), 1);
    EXPECT_EQ(g_requests.size(), 5u);
}

TEST_F(MappedFileSeam, FailedWindowStillAdvancesTheWalk) {
    const std::string strLooked = m_dir.WriteFile("looked", RandomBytes(WALK_SIZE, 7));
    CMappedFile file;
    ASSERT_TRUE(file.Open(strLooked.c_str()));
    file.BeginWindows();
    g_nFailView = 0;
    const MappedWindow first = file.NextWindow();
    EXPECT_EQ(first.length, WINDOW);
    EXPECT_EQ(first.data, nullptr);
    const MappedWindow second = file.NextWindow();
    EXPECT_EQ(second.length, WINDOW);
    ASSERT_NE(second.data, nullptr);
    EXPECT_EQ(second.data[0], static_cast<unsigned char>(RandomBytes(WALK_SIZE, 7)[WINDOW]));
    EXPECT_TRUE(file.HasRemaining());
    EXPECT_EQ(file.NextWindow().length, 1000u);
    EXPECT_FALSE(file.HasRemaining());
    const MappedWindow none = file.NextWindow();
    EXPECT_EQ(none.length, 0u);
    EXPECT_EQ(none.data, nullptr);
}

// A file cut short by another process while it is compared: the lost pages raise SIGBUS when
// touched, which must not end the program; the comparison fails with 1 instead.
TEST_F(MappedFileSeam, FileTruncatedDuringTheWholeViewCompare) {
    const std::string strBytes = RandomBytes(WALK_SIZE, 8);
    const std::string strLooked = m_dir.WriteFile("looked", strBytes);
    const std::string strHeld = m_dir.WriteFile("held", strBytes);
    g_nWholeSize = WALK_SIZE;
    g_nWholeErrno = 0;
    g_strTruncate = strHeld;
    g_nTruncateAt = 1; // just before the representative's view is mapped
    g_nTruncateTo = 10 * 4096;
    EXPECT_EQ(CompareByBytes(strLooked, strHeld), 1);
    // The program goes on, and the next comparison works.
    const std::string strOther = m_dir.WriteFile("other", strBytes);
    EXPECT_EQ(CompareByBytes(strLooked, strOther), 0);
}

TEST_F(MappedFileSeam, FileTruncatedDuringTheWindowWalk) {
    const std::string strBytes = RandomBytes(WALK_SIZE, 9);
    const std::string strLooked = m_dir.WriteFile("looked", strBytes);
    const std::string strHeld = m_dir.WriteFile("held", strBytes);
    g_nWholeSize = WALK_SIZE;
    g_strTruncate = strLooked;
    // Before the looked-up file's second window is mapped, cut the file at the end of its
    // first window: the whole second window then lies past the end.
    g_nTruncateAt = 3;
    g_nTruncateTo = WINDOW;
    EXPECT_EQ(CompareByBytes(strLooked, strHeld), 1);
    EXPECT_EQ(g_requests.size(), 5u);
}

// Without the seam: a child process whose address space is too small for a whole view of either
// file. Sanitizer runtimes reserve vast address ranges, so the limit cannot be set under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool SANITIZED = true;
#else
constexpr bool SANITIZED = false;
#endif

std::size_t AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    std::size_t nPages = 0;
    statm >> nPages;
    return nPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

TEST(MappedFileDeathTest, WalksWindowsWhenTheAddressSpaceIsShort) {
    if (SANITIZED)
        GTEST_SKIP() << "address-space limits do not work under sanitizers";
    CTempDir dir;
    constexpr std::int64_t SIZE = 256LL * 1024 * 1024 + 1000;
    const std::string strHeld = MakeSparseFile(dir, "held", SIZE, "end0");
    const std::string strCopy = MakeSparseFile(dir, "copy", SIZE, "end0");
    const std::string strLater = MakeSparseFile(dir, "later", SIZE, "end1");
    // Exit codes: 10 + the result, 1 when the limit could not be set.
    const auto fnCompareLimited = [](const std::string& strLooked, const std::string& strOther) {
        const rlimit limit{AddressSpaceInUse() + 64 * 1024 * 1024, RLIM_INFINITY};
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(1);
        CMappedFile file;
        if (!file.Open(strLooked.c_str()) || file.MapWhole() != nullptr)
            _exit(2); // the limit must deny the whole view
        file.Close();
        _exit(10 + CompareByBytes(strLooked, strOther));
    };
    EXPECT_EXIT(fnCompareLimited(strHeld, strCopy), testing::ExitedWithCode(10), "");
    EXPECT_EXIT(fnCompareLimited(strHeld, strLater), testing::ExitedWithCode(9), "");
    EXPECT_EXIT(fnCompareLimited(strLater, strHeld), testing::ExitedWithCode(11), "");
}

TEST(MappedFile, OpenCloseAndStates) {
    CTempDir dir;
    CMappedFile file;
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_FALSE(file.HasRemaining());
    EXPECT_FALSE(file.Open((dir / "missing").c_str()));
    EXPECT_FALSE(file.Open(dir.WriteFile("empty", "").c_str()));
    EXPECT_FALSE(file.Open(dir.MakeDir("folder").c_str()));

    ASSERT_TRUE(file.Open(dir.WriteFile("abc", "abc").c_str()));
    EXPECT_EQ(file.GetSize(), 3);
    const unsigned char* pView = file.MapWhole();
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pView), 3), "abc");
    // Opening again closes first; a failed open leaves the object closed.
    ASSERT_TRUE(file.Open(dir.WriteFile("defg", "defg").c_str()));
    EXPECT_EQ(file.GetSize(), 4);
    EXPECT_FALSE(file.Open((dir / "missing").c_str()));
    EXPECT_EQ(file.GetSize(), 0);
    EXPECT_EQ(file.MapWhole(), nullptr);
}

} // namespace
