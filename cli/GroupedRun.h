// One run of the grouped engine on a thread of its own, so that the main thread can draw the
// progress line and turn Ctrl-C into a stop. The destructor stops and joins, so the thread
// never outlives the run.
#pragma once

#include "cli/GroupedSearch.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class CGroupedRunThread {
public:
    CGroupedRunThread(const CString& strFolder, bool bRecursive, int nMethod);
    CGroupedRunThread(const CGroupedRunThread&) = delete;
    CGroupedRunThread& operator=(const CGroupedRunThread&) = delete;
    ~CGroupedRunThread();

    CGroupedProgress& Progress() { return m_progress; }
    // Waits up to the time-out for the run to end; true once it has.
    bool WaitDone(std::chrono::milliseconds timeout);
    // After the run has ended: its result, and whether it failed for want of memory.
    CGroupedResult& Result() { return m_result; }
    bool Failed() const { return m_bFailed; }

private:
    CGroupedProgress m_progress;
    CGroupedResult m_result;
    bool m_bFailed = false;
    std::mutex m_mutex;
    std::condition_variable m_cvDone;
    bool m_bDone = false;
    std::thread m_thread;
};
