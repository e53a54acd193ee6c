#include "ui/CopyMoveDlg.h"

#include "platform/ErrorCodes.h"
#include "platform/FileTransfer.h"
#include "platform/PathSeparator.h"
#include "res/DialogTemplate.h"
#include "res/ResourceIds.h"
#include "ui/DialogBuilder.h"
#include "ui/FolderPicker.h"
#include "ui/MessageBox.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <system_error>

CString TransferTargetPath(const CString& strFolder, const CString& strSource) {
    const int nSeparator = ReverseFind(strSource, g_chPathSeparator);
    CString strTarget = strFolder;
    if (strTarget.empty() || strTarget.back() != g_chPathSeparator)
        strTarget += g_chPathSeparator;
    strTarget += strSource.substr(static_cast<std::size_t>(nSeparator + 1));
    return strTarget;
}

CCopyMoveDlg::CCopyMoveDlg(QWidget* pParent) : QDialog(pParent) {
    BuildDialog(*this, *FindDialogTemplate(IDD_COPY_MOVE));
    connect(GetDlgItemAs<QPushButton>(*this, IDC_DEST_BROWSE), &QPushButton::clicked, this,
            [this] { OnBrowse(); });
    connect(GetDlgItemAs<QPushButton>(*this, IDC_DO_COPY), &QPushButton::clicked, this,
            [this] { OnDoCopy(); });
    connect(GetDlgItemAs<QPushButton>(*this, IDCANCEL), &QPushButton::clicked, this,
            [this] { reject(); });
}

int CCopyMoveDlg::DoModal() {
    OnInitDialog();
    return exec();
}

void CCopyMoveDlg::OnInitDialog() {
    UpdateData(false);
    if (!m_bCopy) {
        GetDlgItemAs<QPushButton>(*this, IDC_DO_COPY)->setText(QStringLiteral("Move File"));
        setWindowTitle(QStringLiteral("Move"));
    }
    // Disabled until a browse gives a folder.
    GetDlgItem(*this, IDC_DO_COPY)->setEnabled(false);
}

void CCopyMoveDlg::UpdateData(bool bSaveAndValidate) {
    auto* pEdit = GetDlgItemAs<QLineEdit>(*this, IDC_DEST_FOLDER);
    if (bSaveAndValidate) {
        const QByteArray bytes = QFile::encodeName(pEdit->text());
        m_strDestFolder.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    } else {
        pEdit->setText(QFile::decodeName(QByteArray::fromStdString(m_strDestFolder)));
    }
}

void CCopyMoveDlg::OnBrowse() {
    UpdateData(true);
    if (!BrowseForFolder(this, m_strDestFolder))
        return;
    UpdateData(false);
    GetDlgItem(*this, IDC_DEST_FOLDER)->setFocus(Qt::OtherFocusReason);
    GetDlgItem(*this, IDC_DO_COPY)->setEnabled(true);
}

void CCopyMoveDlg::OnDoCopy() {
    // The folder the field shows now, typed or picked.
    UpdateData(true);
    if (m_strDestFolder.empty()) {
        CMessageBox::AfxMessageBox(this, "Please select a destination folder.", EBoxIcon::Warning);
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(m_strDestFolder, error)) {
        CMessageBox::AfxMessageBox(this, "The destination folder doesn't exist.",
                                   EBoxIcon::Warning);
        return;
    }
    const CString strTarget = TransferTargetPath(m_strDestFolder, m_strSourcePath);
    if (m_bCopy) {
        if (const int nError = CopyFileNoReplace(m_strSourcePath, strTarget); nError != 0) {
            CMessageBox::AfxMessageBox(this,
                                       "The file could not be copied: " + ErrnoText(nError) + ".",
                                       EBoxIcon::Warning);
            return;
        }
        CMessageBox::AfxMessageBox(this, "File copied successfully", EBoxIcon::Warning);
    } else {
        if (const int nError = MoveFileNoReplace(m_strSourcePath, strTarget); nError != 0) {
            CMessageBox::AfxMessageBox(
                this, "The file could not be moved: " + ErrnoText(nError) + ".", EBoxIcon::Warning);
            return;
        }
        ++m_nMoved;
        CMessageBox::AfxMessageBox(this, "File moved successfully", EBoxIcon::Warning);
    }
}
