// The main dialog's link label and the About box.
#include "ui/AboutDlg.h"
#include "ui/FinderDlg.h"
#include "ui/LinkLabel.h"

#include <QEvent>
#include <QLabel>

bool CFinderDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pLink && IsLinkClick(*m_pLink, *pEvent)) {
        OnWebLink();
        return true;
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void CFinderDlg::OnWebLink() {
    m_bLinkVisited = true;
    StyleLinkLabel(*m_pLink, m_bLinkVisited, m_hHandCursor);
    OpenMakerWebSite();
}

void CFinderDlg::OnAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}
