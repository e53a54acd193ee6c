// The one walk of the grouped engine: the same rules and the same order as the search
// worker's passes (regular files only, no links followed, subfolders depth first where they
// are met, entries in the order the file system returns them).
#pragma once

#include "platform/ByteString.h"

#include <atomic>
#include <cstdint>
#include <vector>

struct CWalkedFile {
    CString strPath;
    // -1 when the file could not be asked about (it vanished or turned into something else
    // between the listing and the question).
    std::int64_t nSize = -1;
    std::uint64_t nDevice = 0;
    std::uint64_t nInode = 0;
};

// Lists the files under strFolder in walk order. With bStat, asks each file's size and
// identity, without following links. Ends early, with what it has, when bStop is set;
// nListed counts the files as they are found.
std::vector<CWalkedFile> WalkTree(const CString& strFolder, bool bRecursive, bool bStat,
                                  const std::atomic<bool>& bStop,
                                  std::atomic<std::int64_t>& nListed);
