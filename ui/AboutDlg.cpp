#include "ui/AboutDlg.h"

#include "res/Artwork.h"
#include "res/DialogTemplate.h"
#include "res/ResourceIds.h"
#include "ui/DialogBuilder.h"
#include "ui/LinkLabel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    BuildDialog(*this, *FindDialogTemplate(IDD_ABOUTBOX));
    connect(GetDlgItemAs<QPushButton>(*this, IDOK), &QPushButton::clicked, this,
            [this] { accept(); });
    m_pLink = GetDlgItemAs<QLabel>(*this, IDC_ABOUT_WEBLINK);
    m_pLink->installEventFilter(this);
    OnInitDialog();
}

void CAboutDlg::OnInitDialog() {
    m_bLinkVisited = false;
    m_hHandCursor = QCursor(QPixmap(QString::fromUtf8(ArtworkPath(IDC_LINK_CURSOR))),
                            kLinkCursorHotX, kLinkCursorHotY);
    StyleLinkLabel(*m_pLink, m_bLinkVisited, m_hHandCursor);
    GetDlgItem(*this, IDOK)->setFocus(Qt::OtherFocusReason);
}

void CAboutDlg::keyPressEvent(QKeyEvent* pEvent) {
    // Escape never closes the About box.
    if (pEvent->key() == Qt::Key_Escape) {
        pEvent->accept();
        return;
    }
    QDialog::keyPressEvent(pEvent);
}

bool CAboutDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_pLink && IsLinkClick(*m_pLink, *pEvent)) {
        OnWebLink();
        return true;
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

void CAboutDlg::OnWebLink() {
    m_bLinkVisited = true;
    StyleLinkLabel(*m_pLink, m_bLinkVisited, m_hHandCursor);
    OpenMakerWebSite();
}
