// The file actions on the selected duplicate: Delete (after a question), Copy and Move (through
// the Copy/Move dialog). An entry leaves the tree only once its file has left its place.
#include "platform/ErrorCodes.h"
#include "platform/FileTransfer.h"
#include "ui/CopyMoveDlg.h"
#include "ui/FinderDlg.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QTreeWidget>

QTreeWidgetItem* CFinderDlg::SelectedFileEntry(CString& strPath) const {
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    // Nothing selected, or a group: nothing to act on.
    if (selected.isEmpty() || selected.front()->data(0, Qt::UserRole).toULongLong() != 0)
        return nullptr;
    const QByteArray bytes = selected.front()->data(0, kPathRole).toByteArray();
    strPath.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return selected.front();
}

void CFinderDlg::OnDelete() {
    CString strPath;
    QTreeWidgetItem* pEntry = SelectedFileEntry(strPath);
    if (!pEntry)
        return;
    const unsigned nResets = m_nResets;
    if (CMessageBox::Question(this, "Are you sure you want to delete the selected file?",
                              "Confirm") != IDYES)
        return;
    // The file first: its entry goes only when the file is gone.
    if (const int nError = DeleteFileAt(strPath); nError != 0) {
        CMessageBox::AfxMessageBox(
            this, "The file could not be deleted: " + ErrnoText(nError) + ".", EBoxIcon::Warning);
        return;
    }
    // A reset while the question was open has taken the entry away already.
    if (m_nResets == nResets)
        RemoveFileEntry(pEntry);
}

void CFinderDlg::OnCopy() {
    CString strPath;
    if (!SelectedFileEntry(strPath))
        return;
    CCopyMoveDlg dlg(this);
    dlg.SetSourcePath(strPath);
    dlg.DoModal();
    // A copy never changes the tree.
}

void CFinderDlg::OnMove() {
    CString strPath;
    QTreeWidgetItem* pEntry = SelectedFileEntry(strPath);
    if (!pEntry)
        return;
    const unsigned nResets = m_nResets;
    CCopyMoveDlg dlg(this);
    dlg.SetSourcePath(strPath);
    dlg.m_bCopy = false;
    dlg.DoModal();
    // Only a file that was moved leaves the tree, and only if a reset has not taken its entry
    // away while the dialog was open.
    if (dlg.MovedCount() > 0 && m_nResets == nResets)
        RemoveFileEntry(pEntry);
}
