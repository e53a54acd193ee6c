// The worker's sorted index: one representative path for every distinct file met so far,
// ordered by CompareFiles under the current method, no two of them equal.
//
// The index reads as one sorted array of slots (ranks 0 to GetCount() - 1) and is searched by
// binary search over those ranks. It is stored as a run of sorted blocks of about the square
// root of the reserved size, so that an insertion moves one block's slots and shifts the block
// starts, instead of moving half of the whole array: a million distinct names stay cheap.
#pragma once

#include "platform/ByteString.h"

#include <cstddef>
#include <vector>

class CRepresentativeIndex {
public:
    // Prepares the index for about nSlots representatives: sizes its blocks and reserves their
    // table. Returns false when that memory cannot be had, or nSlots paths could never fit; the
    // index then stays empty.
    bool Reserve(std::size_t nSlots);

    // Binary search; the rank of a slot that compares equal to path, or -1. An empty index
    // gives -1 without any comparison.
    int IndexFind(const CString& path) const;
    // Searches again and, unless a slot compares equal, inserts a copy of path at the first
    // slot that sorts after it. More paths than reserved still fit: the index then grows.
    void IndexInsert(const CString& path);

    std::size_t GetCount() const { return m_nCount; }
    // The path at a rank.
    const CString& GetAt(std::size_t nRank) const;
    // Releases every slot and the reserved room.
    void Release();

private:
    // The binary search shared by both operations: the equal slot or -1, and the last slot
    // probed with the sign of its comparison (nLastProbe -1 when nothing was probed).
    int Search(const CString& path, int& nLastProbe, int& nLastResult) const;
    // The block holding a rank; for the rank one past the end, the last block.
    std::size_t BlockOf(std::size_t nRank) const;
    void InsertAt(std::size_t nRank, const CString& path);

    std::vector<std::vector<CString>> m_blocks;
    // Rank of the first slot of each block.
    std::vector<std::size_t> m_blockStarts;
    std::size_t m_nCount = 0;
    std::size_t m_nBlockSize = 64;
};
