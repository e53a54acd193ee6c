// twinsift-cli run as a program on fixture trees made per test.
#include "cli/CliOptions.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/cli/JsonReader.h"
#include "tests/support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::string_literals;

struct FixtureFile {
    std::string strRelative;
    std::string strContent;
};

// Same names with different contents, same contents under different names, a same-size
// family that differs in one byte, a non-UTF-8 name and nesting. Empty files have a test of
// their own.
const std::vector<FixtureFile>& MixedTree() {
    static const std::vector<FixtureFile> files = {
        {"a.txt", "alpha"},
        {"b.txt", "bravo"},
        {"copy-of-a", "alpha"},
        {"sub/a.txt", "not alpha at all"},
        {"sub/b-again", "bravo"},
        {"sub/same1", "0123456789abcdef"},
        {"sub/same2", "0123456789abcdeF"},
        {"sub/deep/alpha3", "alpha"},
        {"sub/deep/\xFF\xFE.bin", "non-utf8 content"},
        {"\xFF\xFE.bin", "non-utf8 content"},
        {"sub/deep/same1", "0123456789abcdef"},
    };
    return files;
}

void WriteTree(const CTempDir& dir, const std::vector<FixtureFile>& files) {
    for (const FixtureFile& file : files)
        dir.WriteFile(file.strRelative, file.strContent);
}

std::string BaseName(const std::string& strPath) {
    return strPath.substr(strPath.rfind('/') + 1);
}

// The groups a method must find: files with equal keys, a file without a key never grouped.
GroupSet
ExpectedGroups(const CTempDir& dir, const std::vector<FixtureFile>& files, bool bRecursive,
               const std::function<std::optional<std::string>(const FixtureFile&)>& fnKey) {
    std::map<std::string, std::set<std::string>> byKey;
    for (const FixtureFile& file : files) {
        if (!bRecursive && file.strRelative.find('/') != std::string::npos)
            continue;
        if (const auto key = fnKey(file))
            byKey[*key].insert(dir / file.strRelative);
    }
    GroupSet groups;
    for (auto& [key, members] : byKey)
        if (members.size() > 1)
            groups.insert(members);
    return groups;
}

std::optional<std::string> NameKey(const FixtureFile& file) {
    return BaseName(file.strRelative);
}
std::optional<std::string> NonEmptyContentKey(const FixtureFile& file) {
    if (file.strContent.empty())
        return std::nullopt;
    return file.strContent;
}
std::optional<std::string> ContentKey(const FixtureFile& file) {
    return file.strContent;
}

std::size_t DuplicateCount(const std::vector<std::vector<std::string>>& groups) {
    std::size_t n = 0;
    for (const auto& group : groups)
        n += group.size() - 1;
    return n;
}

struct MethodCase {
    const char* pszMethod;
    int nMethod;
    std::optional<std::string> (*fnKey)(const FixtureFile&);
};

const MethodCase kMethodCases[] = {
    {"name", 0, NameKey},
    {"crc", 1, NonEmptyContentKey},
    {"bytes", 2, NonEmptyContentKey},
    {"md5", 3, ContentKey},
};

TEST(CliEndToEnd, EachMethodFindsItsGroupsInTheWorkersOrder) {
    CTempDir dir;
    WriteTree(dir, MixedTree());
    for (const MethodCase& c : kMethodCases) {
        for (const bool bRecursive : {false, true}) {
            SCOPED_TRACE(std::string(c.pszMethod) + (bRecursive ? " recursive" : " flat"));
            std::vector<std::string> args = {"-m", c.pszMethod, dir.Path()};
            if (bRecursive)
                args.insert(args.begin(), "-r");
            const CChildResult result = RunCliBinary(args);
            ASSERT_EQ(result.nStatus, 0) << result.strErr;
            const auto groups = ParseTextGroups(result.strOut);
            EXPECT_EQ(AsGroupSet(groups), ExpectedGroups(dir, MixedTree(), bRecursive, c.fnKey));
            // Representative first, duplicates in report order, groups in creation order:
            // exactly what the worker reports for the same tree.
            EXPECT_EQ(groups, WorkerGroups(dir.Path(), bRecursive, c.nMethod));
            EXPECT_EQ(result.strErr, std::string("Total Duplicate files: ") +
                                         std::to_string(DuplicateCount(groups)) + "\n");
        }
    }
}

TEST(CliEndToEnd, EmptyFilesAreDuplicatesByNameAndMd5Only) {
    CTempDir dir;
    const std::vector<FixtureFile> files = {{"e1", ""}, {"e2", ""}, {"sub/e1", ""}};
    WriteTree(dir, files);
    for (const MethodCase& c : kMethodCases) {
        SCOPED_TRACE(c.pszMethod);
        const CChildResult result = RunCliBinary({"-r", "-m", c.pszMethod, dir.Path()});
        ASSERT_EQ(result.nStatus, 0) << result.strErr;
        EXPECT_EQ(AsGroupSet(ParseTextGroups(result.strOut)),
                  ExpectedGroups(dir, files, true, c.fnKey));
    }
}

TEST(CliEndToEnd, SubfoldersOnlyWithRecursive) {
    CTempDir dir;
    dir.WriteFile("top.txt", "x");
    dir.WriteFile("one/same.txt", "1");
    dir.WriteFile("two/same.txt", "2");
    const CChildResult flat = RunCliBinary({dir.Path()});
    EXPECT_EQ(flat.nStatus, 0);
    EXPECT_EQ(flat.strOut, "");
    EXPECT_EQ(flat.strErr, "Total Duplicate files: 0\n");

    const CChildResult deep = RunCliBinary({"--recursive", dir.Path()});
    EXPECT_EQ(deep.nStatus, 0);
    EXPECT_EQ(AsGroupSet(ParseTextGroups(deep.strOut)),
              (GroupSet{{dir / "one/same.txt", dir / "two/same.txt"}}));
    EXPECT_EQ(deep.strErr, "Total Duplicate files: 1\n");
}

TEST(CliEndToEnd, JsonDocumentMatchesTheTextAndKeepsEveryPath) {
    CTempDir dir;
    WriteTree(dir, MixedTree());
    const CChildResult text = RunCliBinary({"-r", "-m", "md5", dir.Path()});
    const CChildResult json = RunCliBinary({"-r", "-m", "md5", "--json", dir.Path()});
    ASSERT_EQ(json.nStatus, 0) << json.strErr;
    EXPECT_EQ(json.strErr, text.strErr);

    const CJsonValue doc = ParseJson(json.strOut);
    EXPECT_EQ(doc["folder"].strValue, dir.Path());
    EXPECT_TRUE(doc["recursive"].bValue);
    EXPECT_EQ(doc["method"].strValue, "md5");
    EXPECT_FALSE(doc["interrupted"].bValue);

    std::vector<std::vector<std::string>> groups;
    bool bSawHex = false;
    for (const CJsonValue& group : doc["groups"].items) {
        std::vector<std::string> files;
        for (const CJsonValue& file : group["files"].items) {
            if (file.kind == CJsonValue::Kind::String) {
                files.push_back(file.strValue);
                continue;
            }
            // Hex form: decode the bytes back.
            bSawHex = true;
            const std::string& strHex = file["hex"].strValue;
            std::string strPath;
            for (std::size_t i = 0; i + 1 < strHex.size(); i += 2)
                strPath += static_cast<char>(std::stoi(strHex.substr(i, 2), nullptr, 16));
            files.push_back(strPath);
        }
        struct stat st {};
        ASSERT_EQ(stat(files.front().c_str(), &st), 0);
        EXPECT_EQ(group["size"].nValue, st.st_size);
        groups.push_back(files);
    }
    EXPECT_TRUE(bSawHex);
    EXPECT_EQ(groups, ParseTextGroups(text.strOut));
    EXPECT_EQ(doc["duplicates"].nValue, static_cast<std::int64_t>(DuplicateCount(groups)));
}

TEST(CliEndToEnd, NonUtf8NameSurvivesTextAndJson) {
    CTempDir dir;
    const std::string strName = "caf\xE9-\x80.dat";
    const std::string strFirst = dir.WriteFile(std::string("a/") + strName, "1");
    const std::string strSecond = dir.WriteFile(std::string("b/") + strName, "2");

    const CChildResult text = RunCliBinary({"-r", dir.Path()});
    ASSERT_EQ(text.nStatus, 0);
    EXPECT_EQ(AsGroupSet(ParseTextGroups(text.strOut)), (GroupSet{{strFirst, strSecond}}));

    const CChildResult json = RunCliBinary({"-r", "--json", dir.Path()});
    ASSERT_EQ(json.nStatus, 0);
    const CJsonValue doc = ParseJson(json.strOut);
    ASSERT_EQ(doc["groups"].items.size(), 1u);
    std::set<std::string> hexes;
    for (const CJsonValue& file : doc["groups"].items[0]["files"].items)
        hexes.insert(file["hex"].strValue);
    auto hexOf = [](const std::string& strBytes) {
        std::ostringstream out;
        for (const char ch : strBytes)
            out << std::hex << (static_cast<unsigned char>(ch) >> 4)
                << (static_cast<unsigned char>(ch) & 0x0F);
        return out.str();
    };
    EXPECT_EQ(hexes, (std::set<std::string>{hexOf(strFirst), hexOf(strSecond)}));
}

TEST(CliEndToEnd, FolderErrors) {
    CTempDir dir;
    const std::string strFile = dir.WriteFile("plain.txt", "x");
    struct Case {
        std::string strFolder;
        std::string strErr;
    };
    const Case cases[] = {
        {dir / "missing", "The path specified doesn't exist.\n"},
        {strFile, "The path specified is not a folder.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.strFolder);
        const CChildResult result = RunCliBinary({"-r", c.strFolder});
        EXPECT_EQ(result.nStatus, 1);
        EXPECT_EQ(result.strOut, "");
        EXPECT_EQ(result.strErr, c.strErr);
    }
}

TEST(CliEndToEnd, UnreadableFolderIsAFailureNotAnEmptyResult) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    CTempDir dir;
    const std::string strLocked = dir.MakeDir("locked");
    ASSERT_EQ(chmod(strLocked.c_str(), 0), 0);
    const CChildResult result = RunCliBinary({strLocked});
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, "");
    EXPECT_NE(result.strErr.find("cannot read"), std::string::npos) << result.strErr;
}

TEST(CliEndToEnd, WrongCommandLinesPrintTheUsage) {
    CTempDir dir;
    const std::vector<std::vector<std::string>> cases = {
        {}, {"-m", "sha256", dir.Path()}, {"--bogus", dir.Path()}, {dir.Path(), dir.Path()}, {"-m"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const CChildResult result = RunCliBinary(args);
        EXPECT_EQ(result.nStatus, 2);
        EXPECT_EQ(result.strOut, "");
        EXPECT_EQ(result.strErr.rfind("twinsift-cli: ", 0), 0u);
        EXPECT_NE(result.strErr.find(UsageText()), std::string::npos);
    }
}

TEST(CliEndToEnd, HelpAndVersion) {
    const CChildResult help = RunCliBinary({"--help"});
    EXPECT_EQ(help.nStatus, 0);
    EXPECT_EQ(help.strOut, UsageText());
    EXPECT_NE(help.strOut.find("{\"hex\":"), std::string::npos);
    EXPECT_EQ(help.strErr, "");

    const CChildResult version = RunCliBinary({"--version"});
    EXPECT_EQ(version.nStatus, 0);
    EXPECT_EQ(version.strOut, "twinsift-cli 1.0.0.1\n");
}

TEST(CliEndToEnd, OutputThatCannotBeWrittenIsAFailure) {
    CTempDir dir;
    dir.WriteFile("x/f", "1");
    dir.WriteFile("y/f", "1");
    CChildOptions options;
    options.strStdoutPath = "/dev/full";
    const CChildResult result = RunCliBinary({"-r", dir.Path()}, options);
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_NE(result.strErr.find("cannot write the results"), std::string::npos) << result.strErr;
}

TEST(CliEndToEnd, ProgressLineOnlyOnATerminalAndNotWhenQuiet) {
    CTempDir dir;
    dir.WriteFile("x/f", "1");
    dir.WriteFile("y/f", "1");
    CChildOptions terminal;
    terminal.bErrIsTerminal = true;

    // The index engine reports every file, so even this small search draws its line.
    const CChildResult shown = RunCliBinary({"-r", "--engine", "index", dir.Path()}, terminal);
    EXPECT_EQ(shown.nStatus, 0);
    EXPECT_NE(shown.strErr.find("Scanned 0 of 2 files, 0 duplicates"), std::string::npos)
        << shown.strErr;
    // The line is wiped before the total is written.
    EXPECT_NE(shown.strErr.find("\r\x1b[KTotal Duplicate files: 1"), std::string::npos)
        << shown.strErr;

    const CChildResult quiet = RunCliBinary({"-r", "-q", dir.Path()}, terminal);
    EXPECT_EQ(quiet.nStatus, 0);
    // A terminal turns the line break into CR LF.
    EXPECT_EQ(quiet.strErr, "Total Duplicate files: 1\r\n");
}

} // namespace
