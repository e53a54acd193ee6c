// The duplicates a search has reported, gathered into groups: one group per representative,
// in the order the groups were created, each with its duplicates in the order reported.
#pragma once

#include "platform/ByteString.h"

#include <cstddef>
#include <unordered_map>
#include <vector>

struct CDuplicateGroup {
    CString strRepresentative;
    std::vector<CString> duplicates;
};

class CDuplicateGroups {
public:
    // Records one reported pair; the first report for a representative creates its group.
    void OnDuplicateFound(const CString& strRepresentative, const CString& strDuplicate);
    // Forgets every group (a new search starts).
    void Clear();

    const std::vector<CDuplicateGroup>& Groups() const { return m_groups; }
    // The number of duplicates reported, representatives not counted.
    std::size_t DuplicateCount() const { return m_nDuplicates; }

private:
    std::vector<CDuplicateGroup> m_groups;
    std::unordered_map<CString, std::size_t> m_groupOf;
    std::size_t m_nDuplicates = 0;
};
