#include "bench/BenchFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <vector>

std::string BenchDir() {
    const char* pszBase = std::getenv("TWINSIFT_BENCH_DIR");
    return std::string(pszBase && *pszBase ? pszBase : "/var/tmp/twinsift-bench") + "/micro";
}

std::string BenchFile(const std::string& strName, std::size_t nBytes, unsigned nSeed) {
    const std::string strPath = BenchDir() + "/" + strName;
    struct stat st {};
    if (stat(strPath.c_str(), &st) != 0 || static_cast<std::size_t>(st.st_size) != nBytes) {
        std::filesystem::create_directories(BenchDir());
        std::mt19937_64 random(nSeed);
        std::vector<std::uint64_t> block(1 << 17);
        std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
        for (std::size_t nDone = 0; nDone < nBytes;) {
            for (auto& word : block)
                word = random();
            const std::size_t nChunk = std::min(nBytes - nDone, block.size() * sizeof block[0]);
            out.write(reinterpret_cast<const char*>(block.data()),
                      static_cast<std::streamsize>(nChunk));
            nDone += nChunk;
        }
    }
    ReadAligned(strPath, [](const unsigned char*, std::size_t) {});
    return strPath;
}
