#include "cli/DuplicateGroups.h"

void CDuplicateGroups::OnDuplicateFound(const CString& strRepresentative,
                                        const CString& strDuplicate) {
    auto [it, bNew] = m_groupOf.try_emplace(strRepresentative, m_groups.size());
    if (bNew)
        m_groups.push_back(CDuplicateGroup{strRepresentative, {}});
    m_groups[it->second].duplicates.push_back(strDuplicate);
    ++m_nDuplicates;
}

void CDuplicateGroups::Clear() {
    m_groups.clear();
    m_groupOf.clear();
    m_nDuplicates = 0;
}
