// The Copy/Move dialog: the user picks a destination folder and copies or moves one file into
// it, as often as they like, until they close the dialog. Nothing is ever overwritten.
#pragma once

#include "platform/ByteString.h"

#include <QDialog>

class CCopyMoveDlg : public QDialog {
public:
    explicit CCopyMoveDlg(QWidget* pParent = nullptr);

    void SetSourcePath(CString strPath) { m_strSourcePath = std::move(strPath); }
    // Prepares the dialog for the mode set in m_bCopy and runs it modally.
    int DoModal();
    // How many times the file was moved while the dialog was open.
    int MovedCount() const { return m_nMoved; }

    // True: copy mode; false: move mode. Set by the caller before DoModal.
    bool m_bCopy = true;

private:
    void OnInitDialog();
    void UpdateData(bool bSaveAndValidate);
    void OnBrowse();
    void OnDoCopy();

    CString m_strDestFolder;
    CString m_strSourcePath;
    int m_nMoved = 0;
};

// The path that a transfer of strSource into strFolder creates: the folder, a separator unless
// it already ends in one, and the source's file name.
CString TransferTargetPath(const CString& strFolder, const CString& strSource);
