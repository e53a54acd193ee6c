// One search of twinsift-cli: the worker thread running SearchThreadProc and the target it
// reports to. Stopping and joining live in one idempotent place, Finish, which the destructor
// also calls, so the worker is never left running or blocked in a Send.
#pragma once

#include "cli/ConsoleTarget.h"
#include "platform/ByteString.h"

#include <memory>
#include <thread>

class CSearchRun {
public:
    // Starts the worker on the folder with the method already set in CompareMethod.
    CSearchRun(const CString& strFolder, bool bRecursive);
    CSearchRun(const CSearchRun&) = delete;
    CSearchRun& operator=(const CSearchRun&) = delete;
    ~CSearchRun();

    CConsoleTarget& Target() { return *m_pTarget; }
    // Stop request: opens the run gate first, so a paused worker can see the stop.
    void RequestStop();
    // Closes the target, stops the worker if it still runs, waits for it and resets the stop
    // request for the next search.
    void Finish();

private:
    std::shared_ptr<CConsoleTarget> m_pTarget;
    std::thread m_worker;
};
