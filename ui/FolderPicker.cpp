#include "ui/FolderPicker.h"

#include "ui/MessageBox.h"

#include <QFile>

namespace {

QFileDialog::Options& DialogOptions() {
    static QFileDialog::Options s_options;
    return s_options;
}

CFolderPicker::FnGetFolder& FolderSource() {
    static CFolderPicker::FnGetFolder s_fnGetFolder;
    return s_fnGetFolder;
}

} // namespace

CFolderPicker::CFolderPicker() = default;

int CFolderPicker::Browse(QWidget* pOwner, CString* pstrPath) const {
    if (!pstrPath)
        return BROWSE_NO_PATH;
    const QFileDialog::Options options = DialogOptions() | QFileDialog::ShowDirsOnly;
    // No starting folder: the browser does not open at the folder the caller's field holds.
    const QUrl url =
        FolderSource() ? FolderSource()(pOwner, options)
                       : QFileDialog::getExistingDirectoryUrl(pOwner, m_strTitle, QUrl(), options);
    if (url.isEmpty())
        return BROWSE_CANCELLED;
    if (!url.isLocalFile())
        return BROWSE_NO_PATH;
    const QString strLocal = url.toLocalFile();
    if (strLocal.isEmpty())
        return BROWSE_NO_PATH;
    const QByteArray bytes = QFile::encodeName(strLocal);
    pstrPath->assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return BROWSE_OK;
}

void CFolderPicker::SetDialogOptions(QFileDialog::Options options) {
    DialogOptions() = options;
}

void CFolderPicker::SetFolderSource(FnGetFolder fnGetFolder) {
    FolderSource() = std::move(fnGetFolder);
}

bool BrowseForFolder(QWidget* pOwner, CString& strFolder) {
    CFolderPicker picker;
    switch (picker.Browse(pOwner, &strFolder)) {
    case BROWSE_OK:
        return true;
    case BROWSE_NO_PATH:
        CMessageBox::AfxMessageBox(pOwner, "The shell did not return a path for the selected item.",
                                   EBoxIcon::Warning);
        return false;
    default:
        return false;
    }
}
