// Each inner loop of the CRC-32 against zlib, on random data of lengths around its steps.
#include "engine/Crc32Kernels.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>
#include <zlib.h>

namespace {

using Kernel = std::size_t (*)(std::uint32_t&, const unsigned char*, std::size_t);

// Runs the kernel over the data, lets zlib finish what it did not take, and returns the CRC
// together with how much the kernel took.
std::uint32_t CrcThrough(Kernel kernel, const std::vector<unsigned char>& data,
                         std::size_t& nTaken) {
    std::uint32_t reg = 0xFFFFFFFFu;
    nTaken = kernel(reg, data.data(), data.size());
    return static_cast<std::uint32_t>(
        crc32(~reg & 0xFFFFFFFFu, data.data() + nTaken, static_cast<uInt>(data.size() - nTaken)));
}

TEST(Crc32Kernels, AgreeWithZlibAtEveryLength) {
    std::mt19937 random(5);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 260; ++n)
        lengths.push_back(n);
    for (std::size_t n : {4095, 4096, 4097, 65535, 65536, 65537, 100003})
        lengths.push_back(n);
    for (const std::size_t nLength : lengths) {
        std::vector<unsigned char> data(nLength);
        for (auto& b : data)
            b = static_cast<unsigned char>(random());
        const auto expected =
            static_cast<std::uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
        std::size_t nTaken = 0;
        EXPECT_EQ(CrcThrough(Crc32Slices, data, nTaken), expected) << nLength;
        EXPECT_EQ(nTaken, nLength / 16 * 16) << nLength;
        EXPECT_EQ(CrcThrough(Crc32Clmul, data, nTaken), expected) << nLength;
        if (Crc32ClmulAvailable())
            EXPECT_EQ(nTaken, nLength < 64 ? 0 : nLength / 16 * 16) << nLength;
        else
            EXPECT_EQ(nTaken, 0u);
    }
}

} // namespace
