// The result tree: two levels, one group item per representative file (item data = the group's
// 1-based index into m_groups) with the file entries beneath it (item data 0), the
// representative first. Groups are found by their first entry's path through a hash kept beside
// the tree, so a report costs the same however many groups there are.
#include "ui/FinderDlg.h"

#include <QByteArray>
#include <QFile>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

QTreeWidgetItem* NewFileEntry(QTreeWidgetItem* pGroup, const CString& strPath) {
    auto* pEntry = new QTreeWidgetItem(pGroup);
    const QByteArray bytes = QByteArray::fromStdString(strPath);
    pEntry->setText(0, QFile::decodeName(bytes));
    pEntry->setData(0, Qt::UserRole, 0);
    pEntry->setData(0, kPathRole, bytes);
    return pEntry;
}

void SetGroupLabel(QTreeWidgetItem* pGroup, const GroupInfo& info) {
    pGroup->setText(0, QString::fromUtf8(FormatGroupLabel(info.nCount, info.dwSize)));
}

// The 1-based group index held by an item; 0 for a file entry.
std::size_t GroupIndexOf(const QTreeWidgetItem* pItem) {
    return pItem->data(0, Qt::UserRole).toULongLong();
}

QByteArray FirstPathOf(const QTreeWidgetItem* pGroup) {
    return pGroup->childCount() > 0 ? pGroup->child(0)->data(0, kPathRole).toByteArray()
                                    : QByteArray();
}

} // namespace

CString FormatGroupLabel(int nCount, std::uint64_t dwSize) {
    // 1024 is a power of two, so the division is exact for every size below 2^53 bytes.
    return CStringFormat("%d duplicates of size %.3f KB", nCount,
                         static_cast<double>(dwSize) / 1024.0);
}

void CFinderDlg::OnResetResults() {
    m_tree->clear();
    m_groups.clear();
    m_groupByFirstPath.clear();
    ++m_nResets;
    m_nDuplicates = 0;
    // The status line keeps its text.
}

int CFinderDlg::OnDuplicateFound(const CString& strRepresentative, const CString& strDuplicate) {
    if (QTreeWidgetItem* pGroup = FindGroup(strRepresentative)) {
        NewFileEntry(pGroup, strDuplicate);
        GroupInfo& info = m_groups[GroupIndexOf(pGroup) - 1];
        ++info.nCount;
        // The size is not read again.
        SetGroupLabel(pGroup, info);
    } else {
        // Only existence and size are asked; a representative that has gone since the worker
        // met it drops the report.
        std::error_code error;
        const std::uintmax_t nSize = std::filesystem::file_size(strRepresentative, error);
        if (error)
            return 1;
        m_groups.push_back({1, static_cast<std::uint64_t>(nSize)});
        // Built whole before it joins the tree, so the view hears of it once.
        auto pNewGroup = std::make_unique<QTreeWidgetItem>();
        SetGroupLabel(pNewGroup.get(), m_groups.back());
        pNewGroup->setData(0, Qt::UserRole, static_cast<qulonglong>(m_groups.size()));
        NewFileEntry(pNewGroup.get(), strRepresentative);
        NewFileEntry(pNewGroup.get(), strDuplicate);
        QTreeWidgetItem* pGroupItem = pNewGroup.get();
        m_tree->addTopLevelItem(pNewGroup.release()); // the tree owns it from here
        m_groupByFirstPath.insert(QByteArray::fromStdString(strRepresentative), pGroupItem);
    }
    ++m_nDuplicates;
    SetStatus(
        CStringFormat("Duplicate files: %d. Searching more duplicate files....", m_nDuplicates));
    return 0;
}

QTreeWidgetItem* CFinderDlg::FindGroup(const CString& path) const {
    // Only the first entry of a group, its representative, is looked at.
    return m_groupByFirstPath.value(QByteArray::fromStdString(path), nullptr);
}

void CFinderDlg::UnmapGroup(QTreeWidgetItem* pGroup) {
    const auto it = m_groupByFirstPath.constFind(FirstPathOf(pGroup));
    if (it != m_groupByFirstPath.cend() && it.value() == pGroup)
        m_groupByFirstPath.erase(it);
}

void CFinderDlg::OnSelChangedResults() {
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    // No selection: the buttons keep their state.
    if (selected.isEmpty())
        return;
    EnableFileActions(GroupIndexOf(selected.front()) == 0);
}

void CFinderDlg::RemoveFileEntry(QTreeWidgetItem* pEntry) {
    QTreeWidgetItem* pGroup = pEntry ? pEntry->parent() : nullptr;
    // Only a file entry of a group that has a record can be removed.
    if (!pGroup || GroupIndexOf(pEntry) != 0)
        return;
    const std::size_t nIndex = GroupIndexOf(pGroup);
    if (nIndex == 0 || nIndex > m_groups.size())
        return;
    const bool bFirstEntry = pGroup->indexOfChild(pEntry) == 0;
    if (bFirstEntry)
        UnmapGroup(pGroup);
    delete pEntry;
    GroupInfo& info = m_groups[nIndex - 1];
    --info.nCount;
    if (info.nCount <= 0) {
        // Its record stays (with count 0), so the indices of the other groups stay valid.
        info.nCount = 0;
        UnmapGroup(pGroup);
        delete pGroup;
    } else {
        SetGroupLabel(pGroup, info);
        // The next entry, a duplicate, now stands first.
        if (bFirstEntry && !m_groupByFirstPath.contains(FirstPathOf(pGroup)))
            m_groupByFirstPath.insert(FirstPathOf(pGroup), pGroup);
    }
    --m_nDuplicates;
}
