#include "ui/FinderApp.h"

#include "ui/FinderDlg.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

CFinderApp theApp;

const char* const g_pszHelpText =
    "Twinsift finds duplicate files under one folder.\n\n"
    "1. Type the folder into the field, or pick it with the \"...\" button.\n"
    "2. Tick \"Include subfolder\" to search the folders beneath it too.\n"
    "3. Choose how files are compared: by file name only, by CRC32 and file size, byte by "
    "byte, or by MD5 checksum.\n"
    "4. Press Start. Pause holds the search and Resume continues it; Stop ends it early.\n\n"
    "Each group in the list holds one file and the files that equal it. Select a file to "
    "delete, copy or move it.";

bool CFinderApp::InitInstance() {
    CFinderDlg dlg;
    dlg.exec();
    // Both ways of ending the dialog are treated alike.
    return false;
}

void CFinderApp::OnHelp(QWidget* pParent) const {
    CMessageBox::AfxMessageBox(pParent, g_pszHelpText, EBoxIcon::Information);
}

CString CFinderApp::AppTitle() const {
    const QString strFile =
        QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
    const QString strTitle = QFileInfo(strFile).completeBaseName();
    if (strTitle.isEmpty())
        return "twinsift";
    const QByteArray bytes = QFile::encodeName(strTitle);
    return CString(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
