// The byte-by-byte method against an independent duplicate finder on a generated tree.
#include "tests/cli/CliTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace {

const char* const kFdupes = "/usr/bin/fdupes";

// A tree three levels deep whose files draw their contents from a small pool, so that
// duplicates sit in the same folder, in sibling folders and at different depths. The pool
// holds same-size families that differ in the first, a middle or the last byte, and files
// larger than one mapping window. No empty files: the oracle is asked to leave them out.
void MakeGeneratedTree(const CTempDir& dir) {
    std::mt19937 random(20261211);
    std::vector<std::string> pool;
    for (const std::size_t nSize : {1u, 7u, 4096u, 4097u, 300000u}) {
        std::string strBase(nSize, '\0');
        for (char& ch : strBase)
            ch = static_cast<char>(random() & 0xFF);
        pool.push_back(strBase);
        for (const std::size_t nAt : {std::size_t{0}, nSize / 2, nSize - 1}) {
            std::string strVariant = strBase;
            strVariant[nAt] = static_cast<char>(strVariant[nAt] ^ 0x5A);
            pool.push_back(strVariant);
        }
    }
    const char* const folders[] = {"", "a/", "a/b/", "a/b/c/", "d/", "d/e/"};
    for (int i = 0; i < 90; ++i) {
        const std::string strFolder = folders[random() % std::size(folders)];
        dir.WriteFile(strFolder + std::string("f") + std::to_string(i),
                      pool[random() % pool.size()]);
    }
}

TEST(FdupesOracle, BytesMethodFindsTheSameGroups) {
    if (access(kFdupes, X_OK) != 0)
        GTEST_SKIP() << "fdupes is not installed";
    CTempDir dir;
    MakeGeneratedTree(dir);

    const CChildResult oracle = RunChild({kFdupes, "-r", "-n", dir.Path()});
    ASSERT_EQ(oracle.nStatus, 0) << oracle.strErr;
    const CChildResult ours = RunCliBinary({"-r", "-m", "bytes", dir.Path()});
    ASSERT_EQ(ours.nStatus, 0) << ours.strErr;

    const GroupSet expected = AsGroupSet(ParseTextGroups(oracle.strOut));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(AsGroupSet(ParseTextGroups(ours.strOut)), expected);
}

} // namespace
