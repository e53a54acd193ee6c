#include "search/RepresentativeIndex.h"

#include "engine/CompareMethod.h"

#include <new>
#include <stdexcept>

bool CRepresentativeIndex::Reserve(std::size_t nSlots) {
    try {
        m_slots.reserve(nSlots);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

int CRepresentativeIndex::Search(const CString& path, int& nLastProbe, int& nLastResult) const {
    nLastProbe = -1;
    nLastResult = 0;
    int nLow = 0;
    int nHigh = static_cast<int>(m_slots.size()) - 1;
    while (nLow <= nHigh) {
        const int nMid = nLow + (nHigh - nLow) / 2;
        const int nResult = CompareFiles(path, m_slots[static_cast<std::size_t>(nMid)]);
        nLastProbe = nMid;
        nLastResult = nResult;
        if (nResult < 0)
            nHigh = nMid - 1;
        else if (nResult > 0)
            nLow = nMid + 1;
        else
            return nMid;
    }
    return -1;
}

int CRepresentativeIndex::IndexFind(const CString& path) const {
    int nLastProbe = 0;
    int nLastResult = 0;
    return Search(path, nLastProbe, nLastResult);
}

void CRepresentativeIndex::IndexInsert(const CString& path) {
    int nLastProbe = 0;
    int nLastResult = 0;
    if (Search(path, nLastProbe, nLastResult) >= 0)
        return;
    const int nPosition = nLastProbe < 0 ? 0 : (nLastResult < 0 ? nLastProbe : nLastProbe + 1);
    m_slots.insert(m_slots.begin() + nPosition, path);
}

void CRepresentativeIndex::Release() {
    m_slots.clear();
    m_slots.shrink_to_fit();
}
