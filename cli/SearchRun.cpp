#include "cli/SearchRun.h"

#include "search/SearchEvents.h"
#include "search/SearchWorker.h"

CSearchRun::CSearchRun(const CString& strFolder, bool bRecursive)
    : m_pTarget(std::make_shared<CConsoleTarget>()) {
    auto pParams = std::make_unique<SearchParams>();
    pParams->strFolder = strFolder;
    pParams->bRecursive = bRecursive;
    pParams->hWndDlg = m_pTarget;
    m_worker = std::thread(SearchThreadProc, std::move(pParams));
}

CSearchRun::~CSearchRun() {
    Finish();
}

void CSearchRun::RequestStop() {
    g_evtRun.SetEvent();
    g_evtStop.SetEvent();
}

void CSearchRun::Finish() {
    if (!m_worker.joinable())
        return;
    m_pTarget->Close();
    // A worker that has already posted its last message is ending anyway; one that has not
    // (the main thread left early) is stopped here.
    RequestStop();
    m_worker.join();
    g_evtStop.ResetEvent();
}
