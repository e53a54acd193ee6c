// The cached files the microbenchmarks read, made once per machine with seeded content.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>

// Folder of the benchmark files: $TWINSIFT_BENCH_DIR/micro, else /var/tmp/twinsift-bench/micro.
std::string BenchDir();

// A file of nBytes seeded bytes; made when missing, read once so that it is in the cache.
// Files made with the same seed are equal.
std::string BenchFile(const std::string& strName, std::size_t nBytes, unsigned nSeed);

// Reads a whole file in page-aligned blocks of 1 MiB, handing every block to fnBlock: the
// plain way to read a file fast, which the program's readers are measured against.
template <typename FnBlock>
bool ReadAligned(const std::string& strPath, FnBlock&& fnBlock) {
    constexpr std::size_t nBlock = 1 << 20;
    static thread_local std::unique_ptr<unsigned char, decltype(&std::free)> pBuffer(
        static_cast<unsigned char*>(std::aligned_alloc(4096, nBlock)), &std::free);
    const int nFd = open(strPath.c_str(), O_RDONLY);
    if (nFd < 0)
        return false;
    for (;;) {
        const ssize_t nRead = read(nFd, pBuffer.get(), nBlock);
        if (nRead <= 0) {
            close(nFd);
            return nRead == 0;
        }
        fnBlock(pBuffer.get(), static_cast<std::size_t>(nRead));
    }
}
