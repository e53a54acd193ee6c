// The main dialog's search control: Start with its checks, Pause/Resume, Stop, the folder
// picker, the end of a search and closing during one.
#include "engine/CompareMethod.h"
#include "platform/PathExists.h"
#include "res/ResourceIds.h"
#include "search/SearchEvents.h"
#include "ui/DialogBuilder.h"
#include "ui/FinderDlg.h"
#include "ui/FolderPicker.h"
#include "ui/MessageBox.h"
#include "ui/SearchEvent.h"
#include "ui/SearchWorkerThread.h"

#include <QLineEdit>
#include <QPushButton>
#include <system_error>

namespace {

// The inputs that are locked while a search runs.
constexpr int kSearchInputs[] = {IDC_FOLDER, IDC_BROWSE, IDC_SUBFOLDERS};

} // namespace

void CFinderDlg::OnStart() {
    UpdateData(true);
    const int nChecked = GetCheckedRadioButton(IDC_BY_NAME, IDC_BY_MD5);
    // Set before any check; it stays when a check fails.
    SetStatus("Searching duplicate files...");

    switch (nChecked) {
    case IDC_BY_NAME:
        CompareMethod = METHOD_NAME;
        break;
    case IDC_BY_CRC:
        CompareMethod = METHOD_SIZE_CRC;
        break;
    case IDC_BY_BYTES:
        CompareMethod = METHOD_BYTES;
        break;
    case IDC_BY_MD5:
        CompareMethod = METHOD_MD5;
        break;
    default:
        CMessageBox::AfxMessageBox(this, "Please Select method", EBoxIcon::Warning);
        return;
    }

    // Any existing path passes, a file as well as a folder.
    if (!PathFileExists(m_strFolder)) {
        CMessageBox::AfxMessageBox(this, "The path specified doesn't exist.", EBoxIcon::Warning);
        auto* pEdit = GetDlgItemAs<QLineEdit>(*this, IDC_FOLDER);
        pEdit->setFocus(Qt::OtherFocusReason);
        pEdit->selectAll();
        return;
    }

    GetDlgItem(*this, IDC_START)->setEnabled(false);
    GetDlgItem(*this, IDC_STOP)->setEnabled(true);
    GetDlgItem(*this, IDC_PAUSE)->setEnabled(true);
    for (int nID : kSearchInputs)
        GetDlgItem(*this, nID)->setEnabled(false);
    EnableFileActions(false);

    // Each search reports through a channel of its own.
    m_pTarget = std::make_shared<CDialogMessageTarget>(this);
    auto pParams = std::make_unique<SearchParams>();
    pParams->strFolder = m_strFolder;
    pParams->bRecursive = m_bSubfolders;
    pParams->hWndDlg = m_pTarget;

    m_bSearching = true;
    try {
        m_pWorker = LaunchWorker(std::move(pParams));
    } catch (const std::exception&) {
        // No worker: nothing will ever finish this search, so return to the idle state here.
        m_pTarget->Close();
        m_pTarget.reset();
        m_bSearching = false;
        RestoreIdleControls();
        SetStatus("");
        CMessageBox::AfxMessageBox(this, "The search could not be started.", EBoxIcon::Warning);
    }
}

std::unique_ptr<CSearchWorkerThread>
CFinderDlg::LaunchWorker(std::unique_ptr<SearchParams> pParams) {
    return std::make_unique<CSearchWorkerThread>(std::move(pParams));
}

void CFinderDlg::OnPause() {
    auto* pPause = GetDlgItemAs<QPushButton>(*this, IDC_PAUSE);
    if (g_evtRun.IsSet()) {
        pPause->setText(QStringLiteral("Resume"));
        g_evtRun.ResetEvent();
    } else {
        pPause->setText(QStringLiteral("Pause"));
        g_evtRun.SetEvent();
    }
}

void CFinderDlg::OnStop() {
    // Open the gate first, so that a paused worker wakes up and sees the request.
    g_evtRun.SetEvent();
    g_evtStop.SetEvent();
    GetDlgItemAs<QPushButton>(*this, IDC_PAUSE)->setText(QStringLiteral("Pause"));
}

void CFinderDlg::RestoreIdleControls() {
    GetDlgItem(*this, IDC_START)->setEnabled(true);
    GetDlgItem(*this, IDC_STOP)->setEnabled(false);
    GetDlgItem(*this, IDC_PAUSE)->setEnabled(false);
    for (int nID : kSearchInputs)
        GetDlgItem(*this, nID)->setEnabled(true);
}

void CFinderDlg::OnSearchFinished(bool bIncomplete) {
    if (m_pWorker) {
        // Delete, Copy and Move keep their state.
        RestoreIdleControls();
        const CString strTotal = CStringFormat("Total Duplicate files: %d", m_nDuplicates);
        SetStatus(strTotal);
        CMessageBox::AfxMessageBox(this, strTotal, EBoxIcon::Information);
        if (bIncomplete)
            CMessageBox::AfxMessageBox(this,
                                       "The search ran out of memory and stopped early: files "
                                       "after the last one searched are not in the results.",
                                       EBoxIcon::Warning);
        // The box's event loop may have ended the search already (a close during it).
        // The run gate is left as it is: a pause pressed late holds the next search.
        if (m_pWorker)
            JoinWorker();
    }
    m_bSearching = false;
}

void CFinderDlg::OnFileScanned(const CString& /*strPath*/) {
    // Nothing is shown; the message frees its path when it is destroyed.
}

void CFinderDlg::OnBrowse() {
    UpdateData(true);
    if (!BrowseForFolder(this, m_strFolder))
        return;
    UpdateData(false);
    GetDlgItem(*this, IDC_FOLDER)->setFocus(Qt::OtherFocusReason);
}

bool CFinderDlg::ConfirmClose() {
    if (m_bSearching &&
        CMessageBox::Question(this, "Do you want to close the application?", "Confirm") != IDYES)
        return false;
    // The question's event loop may have seen the search end; then there is nothing to stop.
    EndSearchNow();
    return true;
}

void CFinderDlg::EndSearchNow() {
    if (!m_pWorker)
        return;
    g_evtRun.SetEvent();
    g_evtStop.SetEvent();
    JoinWorker();
    m_bSearching = false;
}

void CFinderDlg::JoinWorker() {
    // Closing the channel first wakes a worker waiting in a send and drops what it still
    // reports, so the wait cannot hang.
    m_pTarget->Close();
    m_pWorker->Join();
    m_pWorker.reset();
    m_pTarget.reset();
    g_evtStop.ResetEvent();
}

bool CFinderDlg::IsWorkerRunning() const {
    return m_pWorker && !m_pWorker->HasReturned();
}
