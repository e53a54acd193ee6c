#include "search/SearchWorker.h"

#include "platform/FileFind.h"
#include "search/SearchEvents.h"

#include <new>

unsigned SearchThreadProc(std::unique_ptr<SearchParams> pParams) {
    CMessageTarget& target = *pParams->hWndDlg;
    // Made before the search starts, so that the last message goes out whatever happens.
    auto pFinished = std::make_unique<CSearchMessage>(UWM_SEARCH_FINISHED);
    try {
        CSearchWorker worker(target);
        worker.Run(pParams->strFolder, pParams->bRecursive);
    } catch (...) {
        // Out of memory part-way: the search ends with what it has reported so far, and says
        // that it is incomplete.
        pFinished->nLParam = SEARCH_INCOMPLETE;
    }
    target.Post(std::move(pFinished));
    return 0;
}

void CSearchWorker::Run(const CString& strFolder, bool bRecursive) {
    m_target.Send(CSearchMessage(UWM_RESET_RESULTS, {}, {}, 0));
    const int nCount = CountFiles(strFolder, bRecursive);
    m_target.Send(CSearchMessage(UWM_RESET_RESULTS, {}, {}, nCount));
    if (nCount == 0)
        return;
    // Without room for the index there is no listing pass, and the search is incomplete.
    if (!m_index.Reserve(static_cast<std::size_t>(nCount)))
        throw std::bad_alloc();
    ListFiles(strFolder, bRecursive);
    m_index.Release();
}

template <typename FnFile>
void CSearchWorker::WalkFolder(const CString& path, bool bRecursive, FnFile& fnFile) {
    CFileFind finder;
    if (!finder.FindFile(path))
        return;
    bool bMore = true;
    while (bMore) {
        if (g_evtStop.IsSet())
            break;
        g_evtRun.Wait();
        bMore = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        if (finder.IsDirectory()) {
            if (bRecursive)
                WalkFolder(finder.GetFilePath(), bRecursive, fnFile);
        } else if (finder.IsFile()) {
            fnFile(finder.GetFilePath());
        }
    }
}

int CSearchWorker::CountFiles(const CString& path, bool bRecursive) {
    int nCount = 0;
    auto fnCount = [&nCount](const CString&) { ++nCount; };
    WalkFolder(path, bRecursive, fnCount);
    return nCount;
}

void CSearchWorker::ListFiles(const CString& path, bool bRecursive) {
    auto fnProcess = [this](const CString& strFile) { ProcessFile(strFile); };
    WalkFolder(path, bRecursive, fnProcess);
}

void CSearchWorker::ProcessFile(const CString& path) {
    m_target.Post(CSearchMessage(UWM_FILE_SCANNED, path));
    const int nSlot = m_index.IndexFind(path);
    if (nSlot < 0)
        m_index.IndexInsert(path);
    else
        m_target.Post(CSearchMessage(UWM_DUPLICATE_FOUND,
                                     m_index.GetAt(static_cast<std::size_t>(nSlot)), path));
}
