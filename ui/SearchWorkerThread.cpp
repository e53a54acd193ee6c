#include "ui/SearchWorkerThread.h"

#include "search/SearchWorker.h"

CSearchWorkerThread::CSearchWorkerThread(std::unique_ptr<SearchParams> pParams)
    : m_pbReturned(std::make_shared<std::atomic<bool>>(false)),
      m_thread([pParams = std::move(pParams), pbReturned = m_pbReturned]() mutable {
          SearchThreadProc(std::move(pParams));
          pbReturned->store(true);
      }) {}

CSearchWorkerThread::~CSearchWorkerThread() {
    Join();
}

void CSearchWorkerThread::Join() {
    if (m_thread.joinable())
        m_thread.join();
}

bool CSearchWorkerThread::HasReturned() const {
    return m_pbReturned->load();
}
