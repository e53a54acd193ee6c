// Whole comparisons: an equal pair byte by byte against plain reads and memcmp, and the cost of
// a comparison whose sizes differ against opening, asking the size of and closing both files.
#include "bench/BenchFiles.h"
#include "engine/CompareMethod.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::size_t g_nPairBytes = std::size_t{512} << 20;

struct Pair {
    std::string strFirst;
    std::string strSecond;
};

const Pair& EqualPair() {
    static const Pair pair{BenchFile("equal-512m-a.bin", g_nPairBytes, 2),
                           BenchFile("equal-512m-b.bin", g_nPairBytes, 2)};
    return pair;
}

const Pair& DifferentSizes() {
    static const Pair pair{BenchFile("size-4k.bin", 4096, 3), BenchFile("size-8k.bin", 8192, 4)};
    return pair;
}

void BM_CompareByBytesEqual(benchmark::State& state) {
    EqualPair(); // made and cached before the timing starts
    CompareMethod = METHOD_BYTES;
    for (auto _ : state)
        if (CompareFiles(EqualPair().strFirst, EqualPair().strSecond) != 0)
            state.SkipWithError("equal files compared unequal");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * g_nPairBytes));
}

void BM_ReadMemcmpEqual(benchmark::State& state) {
    EqualPair();
    constexpr std::size_t nBlock = 1 << 20;
    for (auto _ : state) {
        const int nFirst = open(EqualPair().strFirst.c_str(), O_RDONLY);
        const int nSecond = open(EqualPair().strSecond.c_str(), O_RDONLY);
        std::unique_ptr<unsigned char, decltype(&std::free)> pFirst(
            static_cast<unsigned char*>(std::aligned_alloc(4096, nBlock)), &std::free);
        std::unique_ptr<unsigned char, decltype(&std::free)> pSecond(
            static_cast<unsigned char*>(std::aligned_alloc(4096, nBlock)), &std::free);
        int nResult = 0;
        for (;;) {
            const ssize_t nA = read(nFirst, pFirst.get(), nBlock);
            const ssize_t nB = read(nSecond, pSecond.get(), nBlock);
            if (nA <= 0 || nB != nA)
                break;
            nResult = std::memcmp(pFirst.get(), pSecond.get(), static_cast<std::size_t>(nA));
            if (nResult != 0)
                break;
        }
        close(nFirst);
        close(nSecond);
        benchmark::DoNotOptimize(nResult);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * 2 * g_nPairBytes));
}

void BM_CompareSizesDiffer(benchmark::State& state) {
    DifferentSizes();
    CompareMethod = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            CompareFiles(DifferentSizes().strFirst, DifferentSizes().strSecond));
    CompareMethod = METHOD_NAME;
}

void BM_OpenFstatCloseBoth(benchmark::State& state) {
    DifferentSizes();
    for (auto _ : state) {
        for (const std::string* pPath : {&DifferentSizes().strFirst, &DifferentSizes().strSecond}) {
            const int nFd = open(pPath->c_str(), O_RDONLY);
            struct stat st {};
            fstat(nFd, &st);
            close(nFd);
            benchmark::DoNotOptimize(st.st_size);
        }
    }
}

} // namespace

BENCHMARK(BM_CompareByBytesEqual)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ReadMemcmpEqual)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_CompareSizesDiffer)
    ->Arg(METHOD_SIZE_CRC)
    ->Arg(METHOD_BYTES)
    ->Arg(METHOD_MD5)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFstatCloseBoth)->Unit(benchmark::kMicrosecond);
