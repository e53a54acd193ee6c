// The main dialog: construction, set-up, the keyboard and closing.
#include "ui/FinderDlg.h"

#include "engine/CompareMethod.h"
#include "res/Artwork.h"
#include "res/DialogTemplate.h"
#include "res/ResourceIds.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderApp.h"
#include "ui/LinkLabel.h"
#include "ui/SearchEvent.h"
#include "ui/SearchWorkerThread.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

CFinderDlg::CFinderDlg(QWidget* pParent)
    : QDialog(pParent), m_hIcon(QString::fromUtf8(ArtworkPath(IDR_MAINFRAME))) {
    BuildDialog(*this, *FindDialogTemplate(IDD_MAIN_DIALOG));
    m_tree = GetDlgItemAs<QTreeWidget>(*this, IDC_RESULTS);
    m_pStatus = GetDlgItemAs<QLabel>(*this, IDC_STATUS);

    const auto onClick = [this](int nID, void (CFinderDlg::*pfnHandler)()) {
        connect(GetDlgItemAs<QPushButton>(*this, nID), &QPushButton::clicked, this,
                [this, pfnHandler] { (this->*pfnHandler)(); });
    };
    onClick(IDC_BROWSE, &CFinderDlg::OnBrowse);
    onClick(IDC_START, &CFinderDlg::OnStart);
    onClick(IDC_PAUSE, &CFinderDlg::OnPause);
    onClick(IDC_STOP, &CFinderDlg::OnStop);
    onClick(IDC_CLOSE, &CFinderDlg::OnCloseButton);
    onClick(IDC_DELETE, &CFinderDlg::OnDelete);
    onClick(IDC_COPY, &CFinderDlg::OnCopy);
    onClick(IDC_MOVE, &CFinderDlg::OnMove);
    onClick(IDC_ABOUT, &CFinderDlg::OnAbout);
    m_pLink = GetDlgItemAs<QLabel>(*this, IDC_WEBLINK);
    m_pLink->installEventFilter(this);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelChangedResults(); });

    OnInitDialog();
}

CFinderDlg::~CFinderDlg() {
    // Never leave a worker behind, nor one that could still post to this window.
    EndSearchNow();
}

void CFinderDlg::OnInitDialog() {
    // The members into the controls: empty folder, check box cleared.
    UpdateData(false);
    // Qt offers no system menu to extend; the About command is reached through its button.
    setWindowIcon(m_hIcon);
    GetDlgItem(*this, IDC_STOP)->setEnabled(false);
    GetDlgItem(*this, IDC_PAUSE)->setEnabled(false);
    GetDlgItemAs<QRadioButton>(*this, IDC_BY_NAME)->setChecked(true);
    CompareMethod = METHOD_NAME;
    m_hHandCursor = QCursor(QPixmap(QString::fromUtf8(ArtworkPath(IDC_LINK_CURSOR))),
                            kLinkCursorHotX, kLinkCursorHotY);
    m_bLinkVisited = false;
    StyleLinkLabel(*m_pLink, m_bLinkVisited, m_hHandCursor);
    EnableFileActions(false);
    // The first control with a tab stop, the "..." button, takes the focus.
    GetDlgItem(*this, IDC_BROWSE)->setFocus(Qt::OtherFocusReason);
}

void CFinderDlg::UpdateData(bool bSaveAndValidate) {
    auto* pEdit = GetDlgItemAs<QLineEdit>(*this, IDC_FOLDER);
    auto* pCheck = GetDlgItemAs<QCheckBox>(*this, IDC_SUBFOLDERS);
    if (bSaveAndValidate) {
        const QByteArray bytes = QFile::encodeName(pEdit->text());
        m_strFolder.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        m_bSubfolders = pCheck->isChecked();
    } else {
        pEdit->setText(QFile::decodeName(QByteArray::fromStdString(m_strFolder)));
        pCheck->setChecked(m_bSubfolders);
    }
}

int CFinderDlg::GetCheckedRadioButton(int nFirstID, int nLastID) const {
    for (int nID = nFirstID; nID <= nLastID; ++nID)
        if (const auto* pRadio = GetDlgItemAs<QRadioButton>(*this, nID);
            pRadio && pRadio->isChecked())
            return nID;
    return 0;
}

void CFinderDlg::SetStatus(const CString& strText) {
    m_pStatus->setText(QString::fromUtf8(strText));
}

void CFinderDlg::EnableFileActions(bool bEnable) {
    for (int nID : {IDC_DELETE, IDC_COPY, IDC_MOVE})
        GetDlgItem(*this, nID)->setEnabled(bEnable);
}

bool CFinderDlg::event(QEvent* pEvent) {
    if (pEvent->type() == CDialogMessageTarget::kWakeEvent) {
        DrainSearchMessages();
        return true;
    }
    if (!CSearchEvent::IsSearchEvent(pEvent->type()))
        return QDialog::event(pEvent);
    // The event, and with it the message, is destroyed by Qt after this returns; for a sent
    // message that lets the waiting worker go on.
    OnSearchMessage(static_cast<CSearchEvent*>(pEvent)->Message());
    return true;
}

void CFinderDlg::DrainSearchMessages() {
    // A few milliseconds of reports at a time; then the event loop gets its turn, and a new
    // wake-up brings the rest.
    constexpr qint64 kBudgetNs = 8'000'000;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        // Looked up anew each time: a handler may end the search and release its target.
        const std::shared_ptr<CDialogMessageTarget> pTarget = m_pTarget;
        if (!pTarget)
            return;
        if (clock.nsecsElapsed() > kBudgetNs) {
            QCoreApplication::postEvent(this, new QEvent(CDialogMessageTarget::kWakeEvent));
            return;
        }
        const std::unique_ptr<CSearchMessage> pMsg = pTarget->TakeNext();
        if (!pMsg)
            return;
        OnSearchMessage(*pMsg);
        // pMsg is destroyed here: a sent message is handled.
    }
}

void CFinderDlg::OnSearchMessage(const CSearchMessage& msg) {
    switch (msg.nMessage) {
    case UWM_RESET_RESULTS:
        OnResetResults();
        break;
    case UWM_SEARCH_FINISHED:
        OnSearchFinished(msg.nLParam == SEARCH_INCOMPLETE);
        break;
    case UWM_DUPLICATE_FOUND:
        OnDuplicateFound(msg.strWParam, msg.strLParam);
        break;
    case UWM_FILE_SCANNED:
        OnFileScanned(msg.strWParam);
        break;
    default:
        break;
    }
}

void CFinderDlg::keyPressEvent(QKeyEvent* pEvent) {
    switch (pEvent->key()) {
    case Qt::Key_Escape:
        // Escape never closes the dialog.
        pEvent->accept();
        return;
    case Qt::Key_F1:
        theApp.OnHelp(this);
        pEvent->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (pEvent->modifiers() == Qt::NoModifier || pEvent->modifiers() == Qt::KeypadModifier) {
            // Enter on a focused push button clicks it; anywhere else it is the OK command.
            if (auto* pButton = qobject_cast<QPushButton*>(focusWidget())) {
                if (pButton->isEnabled())
                    pButton->click();
            } else {
                OnOK();
            }
            pEvent->accept();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(pEvent);
}

void CFinderDlg::closeEvent(QCloseEvent* pEvent) {
    if (!ConfirmClose()) {
        pEvent->ignore();
        return;
    }
    QDialog::closeEvent(pEvent);
}

void CFinderDlg::OnCloseButton() {
    // The question is asked by the close handler alone, so the user is asked at most once.
    close();
}

void CFinderDlg::OnOK() {
    if (!ConfirmClose())
        return;
    UpdateData(true);
    accept();
}
