#include "engine/Md5.h"

#include "engine/Md5Hex.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TempDir.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

std::string HexOf(const std::string& strInput, std::size_t nChunk) {
    Md5Context context;
    context.Init();
    const auto* pInput = reinterpret_cast<const unsigned char*>(strInput.data());
    for (std::size_t nAt = 0; nAt < strInput.size(); nAt += nChunk) {
        const std::size_t nLength = std::min(nChunk, strInput.size() - nAt);
        context.Update(pInput + nAt, static_cast<std::uint32_t>(nLength));
    }
    context.Final();
    const CDigestText pText = DigestToHex(context.digest);
    return pText ? pText.get() : "(null)";
}

struct Md5Vector {
    std::string strInput;
    const char* pszDigest;
};

void PrintTo(const Md5Vector& v, std::ostream* pOut) {
    *pOut << v.strInput.size() << " bytes, " << v.pszDigest;
}

class Md5Vectors : public testing::TestWithParam<Md5Vector> {};

TEST_P(Md5Vectors, DigestWhateverTheUpdateSizes) {
    const Md5Vector& v = GetParam();
    // All at once, and in pieces that straddle the 64-byte blocks in different ways.
    for (const std::size_t nChunk : {std::size_t{1} << 20, std::size_t{1}, std::size_t{7},
                                     std::size_t{63}, std::size_t{64}, std::size_t{65}})
        EXPECT_EQ(HexOf(v.strInput, nChunk), v.pszDigest) << "chunks of " << nChunk;
}

INSTANTIATE_TEST_SUITE_P(
    Rfc1321Suite, Md5Vectors,
    testing::Values(
        Md5Vector{"", "d41d8cd98f00b204e9800998ecf8427e"},
        Md5Vector{"a", "0cc175b9c0f1b6a831c399e269772661"},
        Md5Vector{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        Md5Vector{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        Md5Vector{"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        Md5Vector{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                  "d174ab98d277d9f5a5611c2c9f419d9f"},
        Md5Vector{"1234567890123456789012345678901234567890123456789012345678901234567890123456"
                  "7890",
                  "57edf4a22be3c955ac49da2e2107b67a"}));

// Lengths around the padding boundary (56 bytes modulo 64) and several blocks.
INSTANTIATE_TEST_SUITE_P(
    PaddingBoundaries, Md5Vectors,
    testing::Values(Md5Vector{std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
                    Md5Vector{std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
                    Md5Vector{std::string(57, 'a'), "652b906d60af96844ebd21b674f35e93"},
                    Md5Vector{std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
                    Md5Vector{std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
                    Md5Vector{std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
                    Md5Vector{std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
                    Md5Vector{std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
                    Md5Vector{std::string(128, 'a'), "e510683b3f5ffe4093d021808bc6ff70"},
                    Md5Vector{std::string(1000, 'a'), "cabe45dcc9ae5b66ba86600cca6b8ba8"}));

TEST(Md5Context, FinalWipesEverythingButTheDigest) {
    Md5Context context;
    context.Init();
    const std::string strInput = "The quick brown fox jumps over the lazy dog";
    context.Update(reinterpret_cast<const unsigned char*>(strInput.data()),
                   static_cast<std::uint32_t>(strInput.size()));
    context.Final();
    const unsigned char zeros[64] = {};
    EXPECT_EQ(std::memcmp(context.state, zeros, sizeof context.state), 0);
    EXPECT_EQ(std::memcmp(context.count, zeros, sizeof context.count), 0);
    EXPECT_EQ(std::memcmp(context.buffer, zeros, sizeof context.buffer), 0);
    const CDigestText pText = DigestToHex(context.digest);
    ASSERT_TRUE(pText);
    EXPECT_STREQ(pText.get(), "9e107d9d372bb6826bd81d3542a419d6");
}

TEST(Md5Context, BitCountCarriesIntoTheUpperWord) {
    Md5Context context;
    context.Init();
    // As after 2^29 - 64 bytes: the low word is 64 bytes short of wrapping.
    context.count[0] = 0xFFFFFE00u;
    const unsigned char block[128] = {};
    context.Update(block, 64);
    EXPECT_EQ(context.count[0], 0u);
    EXPECT_EQ(context.count[1], 1u);
    context.Update(block, 128);
    EXPECT_EQ(context.count[0], 1024u);
    EXPECT_EQ(context.count[1], 1u);
}

TEST(DigestToHex, TwoLowercaseDigitsPerByteInOrder) {
    unsigned char digest[16];
    for (int i = 0; i < 16; ++i)
        digest[i] = static_cast<unsigned char>(i * 17); // 00 11 22 ... ff
    const CDigestText pText = DigestToHex(digest);
    ASSERT_TRUE(pText);
    EXPECT_STREQ(pText.get(), "00112233445566778899aabbccddeeff");
    digest[0] = 0x0A;
    digest[15] = 0xF0;
    EXPECT_STREQ(DigestToHex(digest).get(), "0a112233445566778899aabbccddeef0");
}

TEST(Md5FileHex, DigestOfAWholeFile) {
    CTempDir dir;
    EXPECT_STREQ(Md5FileHex(dir.WriteFile("abc", "abc").c_str()).get(),
                 "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_STREQ(Md5FileHex(dir.WriteFile("empty", "").c_str()).get(),
                 "d41d8cd98f00b204e9800998ecf8427e");
    // Around the 1024-byte read block: the same digest as hashing the bytes in memory.
    for (const std::size_t nSize : {1023, 1024, 1025, 5000}) {
        const std::string strBytes = RandomBytes(nSize, static_cast<unsigned>(nSize));
        const std::string strFile = dir.WriteFile("random", strBytes);
        EXPECT_EQ(Md5FileHex(strFile.c_str()).get(), HexOf(strBytes, nSize)) << nSize;
    }
}

TEST(Md5FileHex, NoDigestWithoutTheWholeFile) {
    CTempDir dir;
    EXPECT_EQ(Md5FileHex((dir / "missing").c_str()), nullptr);
    // A folder opens as a stream but cannot be read: that is no digest, not the empty one.
    EXPECT_EQ(Md5FileHex(dir.MakeDir("folder").c_str()), nullptr);
    // Reads that fail part-way through: no digest of the part read.
    CFailingRead source(3000);
    std::FILE* pFile = fdopen(source.OpenDescriptor(), "rb");
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(Md5StreamHex(pFile), nullptr);
    std::fclose(pFile);
}

} // namespace
