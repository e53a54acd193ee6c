// The grouped engine against the index engine: the same groups, in the same order, with the
// same representatives, for every method.
#include "cli/CliOptions.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::string_literals;

// Nested duplicates, same-size families differing in one byte, files larger than a read
// block, same names with other contents, and non-UTF-8 names.
void MakeGeneratedTree(const CTempDir& dir, unsigned nSeed) {
    std::mt19937 random(nSeed);
    std::vector<std::string> pool;
    for (const std::size_t nSize : {1u, 100u, 4096u, 4097u, 70000u, 1100000u}) {
        std::string strBase(nSize, '\0');
        for (char& ch : strBase)
            ch = static_cast<char>(random() & 0xFF);
        pool.push_back(strBase);
        std::string strVariant = strBase;
        strVariant[nSize - 1] = static_cast<char>(strVariant[nSize - 1] ^ 1);
        pool.push_back(strVariant);
    }
    const char* const folders[] = {"", "a/", "a/b/", "a/b/c/", "d/", "\xFF\xFE/"};
    const char* const names[] = {"x", "y.txt", "z\xE9", "w"};
    for (int i = 0; i < 60; ++i) {
        const std::string strFolder = folders[random() % std::size(folders)];
        const std::string strName = names[random() % std::size(names)] + std::to_string(i % 7);
        dir.WriteFile(strFolder + strName, pool[random() % pool.size()]);
    }
}

void ExpectEnginesAgree(const std::string& strFolder, const char* pszMethod) {
    SCOPED_TRACE(pszMethod);
    const CChildResult index =
        RunCliBinary({"-r", "-m", pszMethod, "--engine", "index", strFolder});
    const CChildResult grouped =
        RunCliBinary({"-r", "-m", pszMethod, "--engine", "grouped", strFolder});
    ASSERT_EQ(index.nStatus, 0) << index.strErr;
    ASSERT_EQ(grouped.nStatus, 0) << grouped.strErr;
    EXPECT_EQ(grouped.strOut, index.strOut);
    EXPECT_EQ(grouped.strErr, index.strErr);
}

TEST(EngineEquivalence, GeneratedTreesGiveIdenticalOutput) {
    for (const unsigned nSeed : {1u, 2u, 3u}) {
        SCOPED_TRACE(nSeed);
        CTempDir dir;
        MakeGeneratedTree(dir, nSeed);
        for (const char* pszMethod : {"name", "crc", "bytes", "md5"})
            ExpectEnginesAgree(dir.Path(), pszMethod);
    }
}

TEST(EngineEquivalence, EmptyFilesGiveIdenticalOutput) {
    CTempDir dir;
    dir.WriteFile("e1", "");
    dir.WriteFile("sub/e1", "");
    dir.WriteFile("sub/e2", "");
    dir.WriteFile("one", "1");
    dir.WriteFile("sub/one", "1");
    for (const char* pszMethod : {"name", "crc", "bytes", "md5"})
        ExpectEnginesAgree(dir.Path(), pszMethod);
}

// More folders than the descriptor limit lets the grouped engine keep open: the files of the
// folders past its budget are opened by their full paths, with the same results.
TEST(EngineEquivalence, FoldersBeyondTheDescriptorBudget) {
    CTempDir dir;
    for (int i = 0; i < 150; ++i) {
        std::string strFolder = "d";
        strFolder += std::to_string(i);
        dir.WriteFile(strFolder + "/same", "shared content");
        std::string strOwn = "own ";
        strOwn += std::to_string(i);
        dir.WriteFile(strFolder + "/own", strOwn);
    }
    // 1100 descriptors leave room for fewer folders than there are.
    std::string strLimited = "ulimit -n 1100 && exec '";
    strLimited += TWINSIFT_CLI_PATH;
    strLimited += "' -r -m bytes '";
    strLimited += dir.Path();
    strLimited += "'";
    const CChildResult limited = RunChild({"/bin/sh", "-c", strLimited});
    const CChildResult index = RunCliBinary({"-r", "-m", "bytes", "--engine", "index", dir.Path()});
    ASSERT_EQ(limited.nStatus, 0) << limited.strErr;
    ASSERT_EQ(index.nStatus, 0) << index.strErr;
    EXPECT_EQ(limited.strOut, index.strOut);
    EXPECT_EQ(limited.strErr, "Total Duplicate files: 149\n");
}

// Families too large to read side by side: over a hundred files of one size that share their
// first 4 KiB, most of them equal, a few in small families of their own.
TEST(EngineEquivalence, LargeSameSizeFamiliesGiveIdenticalOutput) {
    CTempDir dir;
    const std::string strPrefix(4096, 'p');
    for (int i = 0; i < 140; ++i) {
        const int nVariant = i % 10 < 7 ? 0 : i % 10;
        dir.WriteFile((i % 2 ? "odd/" : "even/") + std::to_string(i),
                      strPrefix + std::string(1000, static_cast<char>('a' + nVariant)));
    }
    for (const char* pszMethod : {"bytes", "md5"})
        ExpectEnginesAgree(dir.Path(), pszMethod);
}

// Two different files of equal size that one method cannot tell apart.
struct CollisionCase {
    const char* pszWhat;
    std::string strFirst;
    std::string strSecond;
    // The methods under which the pair is a duplicate.
    std::set<std::string> equalUnder;
};

std::string FromHex(const std::string& strHex) {
    std::string strBytes;
    for (std::size_t i = 0; i + 1 < strHex.size(); i += 2)
        strBytes += static_cast<char>(std::stoi(strHex.substr(i, 2), nullptr, 16));
    return strBytes;
}

std::vector<CollisionCase> CollisionCases() {
    // The first published MD5 collision: two 128-byte blocks that differ in six bytes.
    const std::string strMd5First =
        FromHex("d131dd02c5e6eec4693d9a0698aff95c2fcab58712467eab4004583eb8fb7f89"
                "55ad340609f4b30283e488832571415a085125e8f7cdc99fd91dbdf280373c5b"
                "d8823e3156348f5bae6dacd436c919c6dd53e2b487da03fd02396306d248cda0"
                "e99f33420f577ee8ce54b67080a80d1ec69821bcb6a8839396f9652b6ff72a70");
    const std::string strMd5Second =
        FromHex("d131dd02c5e6eec4693d9a0698aff95c2fcab50712467eab4004583eb8fb7f89"
                "55ad340609f4b30283e4888325f1415a085125e8f7cdc99fd91dbd7280373c5b"
                "d8823e3156348f5bae6dacd436c919c6dd53e23487da03fd02396306d248cda0"
                "e99f33420f577ee8ce54b67080280d1ec69821bcb6a8839396f965ab6ff72a70");
    // CRC-32 is linear: for inputs of equal length, adding the generator polynomial
    // (0x104C11DB7, bit-reversed to 0x1DB710641 and written as five bytes) anywhere leaves the
    // CRC unchanged.
    std::string strCrcFirst = "the same CRC-32, other bytes";
    std::string strCrcSecond = strCrcFirst;
    const unsigned char polynomial[] = {0x41, 0x06, 0x71, 0xDB, 0x01};
    for (std::size_t i = 0; i < std::size(polynomial); ++i)
        strCrcSecond[7 + i] = static_cast<char>(strCrcSecond[7 + i] ^ polynomial[i]);
    return {
        {"MD5 collision", strMd5First, strMd5Second, {"md5"}},
        {"CRC-32 collision", strCrcFirst, strCrcSecond, {"crc"}},
    };
}

TEST(EngineEquivalence, CollisionsAreDuplicatesOnlyUnderTheirMethod) {
    for (const CollisionCase& c : CollisionCases()) {
        SCOPED_TRACE(c.pszWhat);
        ASSERT_EQ(c.strFirst.size(), c.strSecond.size());
        ASSERT_NE(c.strFirst, c.strSecond);
        CTempDir dir;
        const std::string strFirst = dir.WriteFile("first", c.strFirst);
        const std::string strSecond = dir.WriteFile("second", c.strSecond);
        for (const char* pszMethod : {"crc", "bytes", "md5"}) {
            for (const char* pszEngine : {"index", "grouped"}) {
                SCOPED_TRACE(std::string(pszMethod) + std::string(" ") + pszEngine);
                const CChildResult result =
                    RunCliBinary({"-m", pszMethod, "--engine", pszEngine, dir.Path()});
                ASSERT_EQ(result.nStatus, 0) << result.strErr;
                const GroupSet expected =
                    c.equalUnder.contains(pszMethod) ? GroupSet{{strFirst, strSecond}} : GroupSet{};
                EXPECT_EQ(AsGroupSet(ParseTextGroups(result.strOut)), expected);
            }
        }
    }
}

TEST(EngineEquivalence, UnreadableFilesAreLeftOutAndCounted) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    CTempDir dir;
    dir.WriteFile("a", "same");
    dir.WriteFile("b", "same");
    const std::string strLocked = dir.WriteFile("c", "same");
    ASSERT_EQ(chmod(strLocked.c_str(), 0), 0);
    for (const char* pszMethod : {"crc", "bytes", "md5"}) {
        SCOPED_TRACE(pszMethod);
        const CChildResult result = RunCliBinary({"-m", pszMethod, dir.Path()});
        ASSERT_EQ(result.nStatus, 0) << result.strErr;
        EXPECT_EQ(AsGroupSet(ParseTextGroups(result.strOut)), (GroupSet{{dir / "a", dir / "b"}}));
        EXPECT_NE(result.strErr.find("Warning: 1 files could not be read"), std::string::npos)
            << result.strErr;
        // The index engine leaves the file out too, without the warning.
        const CChildResult index = RunCliBinary({"-m", pszMethod, "--engine", "index", dir.Path()});
        EXPECT_EQ(index.strOut, result.strOut);
    }
}

} // namespace
