#include "cli/ProgressLine.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(ProgressLine, DisabledWritesNothing) {
    std::ostringstream err;
    CProgressLine progress(err, false);
    progress.OnCountingStarted();
    progress.OnCounted(3);
    progress.OnFileScanned();
    progress.Tick();
    progress.Clear();
    EXPECT_EQ(err.str(), "");
}

TEST(ProgressLine, PhasesAndCounts) {
    std::ostringstream err;
    CProgressLine progress(err, true);
    progress.OnCountingStarted();
    EXPECT_EQ(progress.Text().rfind("Counting files...", 0), 0u);
    progress.OnCounted(5);
    progress.OnFileScanned();
    progress.OnFileScanned();
    progress.OnDuplicateFound();
    EXPECT_EQ(progress.Text(), "Scanned 2 of 5 files, 1 duplicates");
    // Each drawing returns to the start of the line and erases what was left of the old one.
    EXPECT_NE(err.str().find("\rScanned 0 of 5 files, 0 duplicates\x1b[K"), std::string::npos);
    progress.Clear();
    EXPECT_TRUE(err.str().ends_with("\r\x1b[K"));
    // Nothing is wiped twice.
    const std::string strBefore = err.str();
    progress.Clear();
    EXPECT_EQ(err.str(), strBefore);
}

} // namespace
