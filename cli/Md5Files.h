// MD5 digests of many files, eight files at a time on each thread where the processor can
// run Md5Lanes: every file is read once, from start to end, in page-aligned blocks, and its
// digest is exactly the one Md5Context gives.
#pragma once

#include "cli/FileContent.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// The files to hash, by position: where each is and the size the walk saw.
struct CMd5Job {
    std::function<CFileRef(std::size_t)> fnRef;
    std::function<std::int64_t(std::size_t)> fnSize;
    std::size_t nCount = 0;
};

// Hashes the files whose positions the shared counter hands out, until it passes nCount or
// bStop is set. For each file it finishes it sets digests[i] and outcome[i] (1 read, 2 not
// readable or changed) and calls fnDone(i). Run it on every thread that should take part.
void HashFilesInLanes(const CMd5Job& job, std::atomic<std::size_t>& nNext,
                      const std::atomic<bool>& bStop, std::vector<CMd5Digest>& digests,
                      std::vector<char>& outcome, const std::function<void(std::size_t)>& fnDone);
