#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

struct AcceptedCase {
    std::vector<std::string> args;
    std::string strFolder;
    bool bRecursive;
    int nMethod;
    bool bJson;
    bool bQuiet;
    SearchEngine engine = SearchEngine::Grouped;
};

TEST(CliOptions, AcceptedCommandLines) {
    const AcceptedCase cases[] = {
        {{"dir"}, "dir", false, 0, false, false},
        {{"-r", "dir"}, "dir", true, 0, false, false},
        {{"dir", "--recursive"}, "dir", true, 0, false, false},
        {{"-m", "crc", "dir"}, "dir", false, 1, false, false},
        {{"-mbytes", "dir"}, "dir", false, 2, false, false},
        {{"--method", "md5", "dir"}, "dir", false, 3, false, false},
        {{"--method=name", "dir"}, "dir", false, 0, false, false},
        {{"-rqm", "md5", "dir"}, "dir", true, 3, false, true},
        {{"-rmcrc", "dir"}, "dir", true, 1, false, false},
        {{"--json", "--quiet", "dir"}, "dir", false, 0, true, true},
        // The last method given wins.
        {{"-m", "crc", "-m", "bytes", "dir"}, "dir", false, 2, false, false},
        // After "--" everything is a folder, even when it looks like an option.
        {{"-r", "--", "-q"}, "-q", true, 0, false, false},
        {{"-"}, "-", false, 0, false, false},
        {{"/"}, "/", false, 0, false, false},
        {{"--engine", "index", "dir"}, "dir", false, 0, false, false, SearchEngine::Index},
        {{"--engine=grouped", "-r", "dir"}, "dir", true, 0, false, false, SearchEngine::Grouped},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const CParseResult result = ParseCommandLine(c.args);
        ASSERT_EQ(result.outcome, ParseOutcome::Run) << result.strError;
        EXPECT_EQ(result.options.strFolder, c.strFolder);
        EXPECT_EQ(result.options.bRecursive, c.bRecursive);
        EXPECT_EQ(result.options.nMethod, c.nMethod);
        EXPECT_EQ(result.options.bJson, c.bJson);
        EXPECT_EQ(result.options.bQuiet, c.bQuiet);
        EXPECT_EQ(result.options.engine, c.engine);
    }
}

TEST(CliOptions, RefusedCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"-r"},
        {"a", "b"},
        {"-x", "dir"},
        {"--recursiv", "dir"},
        {"--recursive=yes", "dir"},
        {"-m", "sha1", "dir"},
        {"-m", "NAME", "dir"},
        {"--method=", "dir"},
        {"dir", "-m"},
        {"dir", "--method"},
        {"-rx", "dir"},
        {"--engine", "fast", "dir"},
        {"dir", "--engine"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CParseResult result = ParseCommandLine(args);
        EXPECT_EQ(result.outcome, ParseOutcome::Error);
        EXPECT_FALSE(result.strError.empty());
    }
}

TEST(CliOptions, HelpAndVersionNeedNoFolder) {
    EXPECT_EQ(ParseCommandLine({"--help"}).outcome, ParseOutcome::Help);
    EXPECT_EQ(ParseCommandLine({"-h", "a", "b"}).outcome, ParseOutcome::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}).outcome, ParseOutcome::Version);
    // A wrong option is refused even next to --help.
    EXPECT_EQ(ParseCommandLine({"--help", "-x"}).outcome, ParseOutcome::Error);
}

TEST(CliOptions, MethodNamesRoundTrip) {
    for (int nMethod = 0; nMethod < 4; ++nMethod)
        EXPECT_EQ(MethodFromName(MethodName(nMethod)), nMethod);
    EXPECT_STREQ(MethodName(4), "");
    EXPECT_STREQ(MethodName(-1), "");
    EXPECT_EQ(MethodFromName(""), -1);
}

TEST(CliOptions, VersionComesFromTheProject) {
    EXPECT_EQ(VersionText(), "twinsift-cli " TWINSIFT_EXPECTED_VERSION "\n");
}

} // namespace
