// Makes the benchmark corpora with seeded content, so every machine gets the same bytes.
//
//   twinsift_gencorpus KIND FOLDER [SCALE]
//
// KIND is one of:
//   small     20,000 small files with distinct names and sizes in 200 folders
//   samesize  4,000 files of 64 KiB with random content, every tenth a copy of another
//   big       four files of 512 MiB in two identical pairs
//   deep      1,000,000 empty or tiny files with mostly distinct names, 4 levels of folders
//   results   150,000 files: 50,000 groups of three equal files (same name, same bytes),
//             about 100,000 duplicate reports under every method
// SCALE (default 1) multiplies the number of files (and the size of the big files), for trials.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

std::mt19937_64 g_random(20261211);

std::string RandomBytes(std::size_t nBytes) {
    std::string str(nBytes, '\0');
    for (std::size_t i = 0; i < nBytes; i += 8) {
        const std::uint64_t word = g_random();
        for (std::size_t j = 0; j < 8 && i + j < nBytes; ++j)
            str[i + j] = static_cast<char>(word >> (8 * j));
    }
    return str;
}

void MakeDirs(const std::string& strPath) {
    for (std::size_t nPos = 1; (nPos = strPath.find('/', nPos)) != std::string::npos; ++nPos)
        mkdir(strPath.substr(0, nPos).c_str(), 0755);
    mkdir(strPath.c_str(), 0755);
}

void Write(const std::string& strPath, const std::string& strContent) {
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(strContent.data(), static_cast<std::streamsize>(strContent.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", strPath.c_str());
        std::exit(1);
    }
}

std::size_t Scaled(double dScale, std::size_t nCount) {
    return std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(nCount) * dScale));
}

void MakeSmall(const std::string& strRoot, double dScale) {
    const std::size_t nFiles = Scaled(dScale, 20000);
    for (std::size_t i = 0; i < nFiles; ++i) {
        const std::string strFolder = strRoot + "/d" + std::to_string(i % 200);
        if (i < 200)
            MakeDirs(strFolder);
        Write(strFolder + "/small-" + std::to_string(i) + ".dat", RandomBytes(1 + i));
    }
}

void MakeSameSize(const std::string& strRoot, double dScale) {
    const std::size_t nFiles = Scaled(dScale, 4000);
    std::vector<std::string> contents;
    for (std::size_t i = 0; i < nFiles; ++i) {
        const std::string strFolder = strRoot + "/d" + std::to_string(i % 40);
        if (i < 40)
            MakeDirs(strFolder);
        const bool bCopy = i % 10 == 9;
        const std::string strContent =
            bCopy ? contents[g_random() % contents.size()] : RandomBytes(64 * 1024);
        if (!bCopy)
            contents.push_back(strContent);
        Write(strFolder + "/same-" + std::to_string(i) + ".bin", strContent);
    }
}

void MakeBig(const std::string& strRoot, double dScale) {
    MakeDirs(strRoot);
    const std::size_t nBytes = Scaled(dScale, std::size_t{512} << 20);
    for (const char* pszPair : {"a", "b"}) {
        const std::string strContent = RandomBytes(nBytes);
        Write(strRoot + "/big-" + pszPair + "1.bin", strContent);
        Write(strRoot + "/big-" + pszPair + "2.bin", strContent);
    }
}

void MakeDeep(const std::string& strRoot, double dScale) {
    const std::size_t nFiles = Scaled(dScale, 1000000);
    // 10 x 10 x 10 x 10 leaf folders, 100 files each at full scale.
    for (std::size_t i = 0; i < nFiles; ++i) {
        const std::size_t nLeaf = i % 10000;
        const std::string strFolder = strRoot + "/l" + std::to_string(nLeaf / 1000) + "/l" +
                                      std::to_string(nLeaf / 100 % 10) + "/l" +
                                      std::to_string(nLeaf / 10 % 10) + "/l" +
                                      std::to_string(nLeaf % 10);
        if (i < 10000)
            MakeDirs(strFolder);
        // One name in a hundred repeats an earlier one.
        const std::size_t nName = i % 100 == 99 ? g_random() % (i + 1) : i;
        Write(strFolder + "/f" + std::to_string(nName) + ".txt",
              i % 2 == 0 ? std::string() : std::to_string(i));
    }
}

void MakeResults(const std::string& strRoot, double dScale) {
    const std::size_t nGroups = Scaled(dScale, 50000);
    for (int nCopy = 0; nCopy < 3; ++nCopy) {
        for (std::size_t g = 0; g < nGroups; ++g) {
            const std::string strFolder =
                strRoot + "/c" + std::to_string(nCopy) + "/g" + std::to_string(g % 100);
            if (g < 100)
                MakeDirs(strFolder);
            Write(strFolder + "/r" + std::to_string(g) + ".dat",
                  "group " + std::to_string(g) + " of the result-heavy corpus\n");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s small|samesize|big|deep|results FOLDER [SCALE]\n", argv[0]);
        return 2;
    }
    const std::string strKind = argv[1];
    const std::string strRoot = argv[2];
    const double dScale = argc > 3 ? std::atof(argv[3]) : 1.0;
    if (strKind == "small")
        MakeSmall(strRoot, dScale);
    else if (strKind == "samesize")
        MakeSameSize(strRoot, dScale);
    else if (strKind == "big")
        MakeBig(strRoot, dScale);
    else if (strKind == "deep")
        MakeDeep(strRoot, dScale);
    else if (strKind == "results")
        MakeResults(strRoot, dScale);
    else {
        std::fprintf(stderr, "unknown corpus kind: %s\n", strKind.c_str());
        return 2;
    }
    return 0;
}
