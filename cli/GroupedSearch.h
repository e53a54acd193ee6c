// The grouped engine of twinsift-cli: walks the tree once, then decides equality by the same
// rule as each comparison method, reading every candidate file as few times as it can:
//   name   equal file names, compared as bytes; no file is read.
//   crc    equal size and equal CRC-32 (CCrc32); empty files are never duplicates.
//   bytes  equal size and equal bytes; empty files are never duplicates. The files of one
//          size are read side by side, block by block, and split wherever their bytes differ:
//          the first block is 4 KiB, where most differ, and every file is opened and read
//          once. Families too large to read side by side are first split by a 64-bit hash of
//          their first 4 KiB, then of their whole contents. Every pair reported has been
//          compared byte by byte.
//   md5    equal MD5 digests (Md5Context) among files of equal size; files of different
//          sizes are not compared, as their digests can only be equal by a collision. Empty
//          files are duplicates of each other.
// Reads are sequential, in page-aligned blocks; same-size candidates are read in inode order,
// on every core. The groups are those of the search worker: the representative is the first
// file in walk order, its duplicates follow in walk order, and groups come in the order the
// worker would create them (the walk position of their second file).
#pragma once

#include "cli/DuplicateGroups.h"
#include "platform/ByteString.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

// Shared between the engine and the thread that shows its progress and stops it.
struct CGroupedProgress {
    // Set to stop: the engine ends soon with the groups it has fully decided.
    std::atomic<bool> bStop{false};
    std::atomic<std::int64_t> nListed{0};
    std::atomic<bool> bWalkDone{false};
    // Files to read and files read, over all reading stages.
    std::atomic<std::int64_t> nToRead{0};
    std::atomic<std::int64_t> nRead{0};
};

struct CGroupedResult {
    CDuplicateGroups groups;
    // Files that had to be read but could not be (or changed while they were read); they are
    // in no group.
    std::size_t nUnreadable = 0;
};

// Runs the whole search. May throw std::bad_alloc.
CGroupedResult RunGroupedSearch(const CString& strFolder, bool bRecursive, int nMethod,
                                CGroupedProgress& progress);
