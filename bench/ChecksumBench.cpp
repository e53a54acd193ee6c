// CRC-32 and MD5 of a whole cached file, each beside a reference library reading the same file.
#include "bench/BenchFiles.h"
#include "engine/Crc32.h"
#include "engine/Md5Hex.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <zlib.h>

namespace {

constexpr std::size_t g_nChecksumBytes = std::size_t{256} << 20;

const std::string& ChecksumFile() {
    static const std::string strPath = BenchFile("checksum-256m.bin", g_nChecksumBytes, 1);
    return strPath;
}

void BM_FileCrc(benchmark::State& state) {
    ChecksumFile(); // made and cached before the timing starts
    for (auto _ : state) {
        CCrc32 crc32;
        crc32.BuildTable();
        std::uint32_t crc = 0;
        if (crc32.FileCrc(ChecksumFile().c_str(), crc) != 0)
            state.SkipWithError("FileCrc failed");
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_nChecksumBytes));
}

void BM_ZlibCrc32(benchmark::State& state) {
    ChecksumFile(); // made and cached before the timing starts
    for (auto _ : state) {
        uLong crc = crc32(0, nullptr, 0);
        ReadAligned(ChecksumFile(), [&](const unsigned char* p, std::size_t n) {
            crc = crc32(crc, p, static_cast<uInt>(n));
        });
        benchmark::DoNotOptimize(crc);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_nChecksumBytes));
}

void BM_Md5FileHex(benchmark::State& state) {
    ChecksumFile(); // made and cached before the timing starts
    for (auto _ : state) {
        CDigestText digest = Md5FileHex(ChecksumFile().c_str());
        if (!digest)
            state.SkipWithError("Md5FileHex failed");
        benchmark::DoNotOptimize(digest.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_nChecksumBytes));
}

void BM_OpenSslMd5(benchmark::State& state) {
    ChecksumFile(); // made and cached before the timing starts
    for (auto _ : state) {
        EVP_MD_CTX* pContext = EVP_MD_CTX_new();
        EVP_DigestInit_ex(pContext, EVP_md5(), nullptr);
        ReadAligned(ChecksumFile(), [&](const unsigned char* p, std::size_t n) {
            EVP_DigestUpdate(pContext, p, n);
        });
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int nLength = 0;
        EVP_DigestFinal_ex(pContext, digest, &nLength);
        EVP_MD_CTX_free(pContext);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * g_nChecksumBytes));
}

} // namespace

BENCHMARK(BM_FileCrc)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ZlibCrc32)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Md5FileHex)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenSslMd5)->Unit(benchmark::kMillisecond)->MinTime(2.0);
