#include "cli/GroupedRun.h"

CGroupedRunThread::CGroupedRunThread(const CString& strFolder, bool bRecursive, int nMethod) {
    m_thread = std::thread([this, strFolder, bRecursive, nMethod] {
        try {
            m_result = RunGroupedSearch(strFolder, bRecursive, nMethod, m_progress);
        } catch (...) {
            m_bFailed = true;
        }
        {
            std::lock_guard lock(m_mutex);
            m_bDone = true;
        }
        m_cvDone.notify_all();
    });
}

CGroupedRunThread::~CGroupedRunThread() {
    m_progress.bStop = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool CGroupedRunThread::WaitDone(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_cvDone.wait_for(lock, timeout, [this] { return m_bDone; });
}
