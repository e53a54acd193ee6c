#include "search/RepresentativeIndex.h"

#include "engine/CompareMethod.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

bool CRepresentativeIndex::Reserve(std::size_t nSlots) {
    Release();
    try {
        if (nSlots > m_blocks.max_size() / sizeof(CString))
            return false;
        m_nBlockSize = std::max<std::size_t>(64, static_cast<std::size_t>(std::sqrt(nSlots)));
        const std::size_t nBlocks = nSlots / m_nBlockSize + 1;
        m_blocks.reserve(nBlocks);
        m_blockStarts.reserve(nBlocks);
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    Release();
    return false;
}

std::size_t CRepresentativeIndex::BlockOf(std::size_t nRank) const {
    const auto it = std::upper_bound(m_blockStarts.begin(), m_blockStarts.end(), nRank);
    return static_cast<std::size_t>(it - m_blockStarts.begin()) - 1;
}

const CString& CRepresentativeIndex::GetAt(std::size_t nRank) const {
    const std::size_t nBlock = BlockOf(nRank);
    return m_blocks[nBlock][nRank - m_blockStarts[nBlock]];
}

int CRepresentativeIndex::Search(const CString& path, int& nLastProbe, int& nLastResult) const {
    nLastProbe = -1;
    nLastResult = 0;
    int nLow = 0;
    int nHigh = static_cast<int>(m_nCount) - 1;
    while (nLow <= nHigh) {
        const int nMid = nLow + (nHigh - nLow) / 2;
        const int nResult = CompareFiles(path, GetAt(static_cast<std::size_t>(nMid)));
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
    InsertAt(static_cast<std::size_t>(nPosition), path);
}

void CRepresentativeIndex::InsertAt(std::size_t nRank, const CString& path) {
    if (m_blocks.empty()) {
        m_blocks.emplace_back().reserve(2 * m_nBlockSize);
        m_blockStarts.push_back(0);
    }
    const std::size_t nBlock = BlockOf(nRank);
    std::vector<CString>& block = m_blocks[nBlock];
    block.insert(block.begin() + static_cast<std::ptrdiff_t>(nRank - m_blockStarts[nBlock]), path);
    ++m_nCount;
    for (std::size_t i = nBlock + 1; i < m_blockStarts.size(); ++i)
        ++m_blockStarts[i];
    if (block.size() < 2 * m_nBlockSize)
        return;
    // A full block splits in two halves; the later half becomes a block of its own.
    std::vector<CString> later;
    later.reserve(2 * m_nBlockSize);
    const auto middle = block.begin() + static_cast<std::ptrdiff_t>(m_nBlockSize);
    later.assign(std::make_move_iterator(middle), std::make_move_iterator(block.end()));
    block.erase(middle, block.end());
    const std::size_t nLaterStart = m_blockStarts[nBlock] + m_nBlockSize;
    m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(nBlock) + 1, std::move(later));
    m_blockStarts.insert(m_blockStarts.begin() + static_cast<std::ptrdiff_t>(nBlock) + 1,
                         nLaterStart);
}

void CRepresentativeIndex::Release() {
    m_blocks = {};
    m_blockStarts = {};
    m_nCount = 0;
}
