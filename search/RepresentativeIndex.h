// The worker's sorted index: one representative path for every distinct file met so far,
// ordered by CompareFiles under the current method, no two of them equal.
#pragma once

#include "platform/ByteString.h"

#include <cstddef>
#include <vector>

class CRepresentativeIndex {
public:
    // Reserves room for nSlots representatives in one piece. Returns false when the memory
    // cannot be had; the index then stays empty.
    bool Reserve(std::size_t nSlots);

    // Binary search; the position of a slot that compares equal to path, or -1. An empty
    // index gives -1 without any comparison.
    int IndexFind(const CString& path) const;
    // Searches again and, unless a slot compares equal, inserts a copy of path at the first
    // slot that sorts after it. More paths than reserved still fit: the index then grows.
    void IndexInsert(const CString& path);

    std::size_t GetCount() const { return m_slots.size(); }
    const CString& GetAt(std::size_t nSlot) const { return m_slots[nSlot]; }
    // Releases every slot and the reserved room.
    void Release();

private:
    // The binary search shared by both operations: the equal slot or -1, and the last slot
    // probed with the sign of its comparison (nLastProbe -1 when nothing was probed).
    int Search(const CString& path, int& nLastProbe, int& nLastResult) const;

    std::vector<CString> m_slots;
};
