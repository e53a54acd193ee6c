// The thread of one search: runs SearchThreadProc with the search's parameters and records when
// the procedure has returned. Owned by the main dialog, joined when the search has finished.
#pragma once

#include "search/SearchParams.h"

#include <atomic>
#include <memory>
#include <thread>

class CSearchWorkerThread {
public:
    // Starts the thread; throws std::system_error when it cannot be created.
    explicit CSearchWorkerThread(std::unique_ptr<SearchParams> pParams);
    CSearchWorkerThread(const CSearchWorkerThread&) = delete;
    CSearchWorkerThread& operator=(const CSearchWorkerThread&) = delete;
    // Joins the thread if nobody has.
    ~CSearchWorkerThread();

    // Waits without a time limit until the thread has ended. Idempotent.
    void Join();
    // Whether the worker's procedure has returned (the thread may still be ending).
    bool HasReturned() const;

private:
    std::shared_ptr<std::atomic<bool>> m_pbReturned;
    std::thread m_thread;
};
