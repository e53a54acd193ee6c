// Pause, resume and stop: the run gate and the stop request as the worker obeys them.
#include "engine/CompareMethod.h"
#include "search/SearchEvents.h"
#include "search/SearchMessages.h"
#include "search/SearchWorker.h"
#include "tests/search/SearchTestUtil.h"
#include "tests/support/RecordingTarget.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

class SearchControl : public testing::Test {
protected:
    void SetUp() override {
        ResetSearchEvents();
        CompareMethod = METHOD_NAME;
        // Ten files in one folder, two pairs of equal names, one nested folder.
        for (int i = 0; i < 8; ++i)
            m_dir.WriteFile("f" + std::to_string(i), "x");
        m_dir.WriteFile("sub/f1", "x");
        m_dir.WriteFile("sub/f2", "x");
    }
    void TearDown() override { ResetSearchEvents(); }

    // Starts a worker over the fixture with subfolders included.
    std::thread Start(const std::shared_ptr<CRecordingTarget>& pTarget) {
        auto pParams = std::make_unique<SearchParams>();
        pParams->strFolder = m_dir.Path();
        pParams->bRecursive = true;
        pParams->hWndDlg = pTarget;
        return std::thread(SearchThreadProc, std::move(pParams));
    }

    static void WaitForMessages(const CRecordingTarget& target, size_t nCount) {
        while (target.Messages().size() < nCount)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    CTempDir m_dir;
};

TEST_F(SearchControl, PausedGateHoldsTheWorkerUntilResumed) {
    auto pTarget = std::make_shared<CRecordingTarget>();
    g_evtRun.ResetEvent();
    std::thread worker = Start(pTarget);
    // The first reset is sent before the walk; then the worker waits at its first entry.
    WaitForMessages(*pTarget, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(pTarget->Messages().size(), 1u);
    g_evtRun.SetEvent();
    worker.join();
    const auto messages = pTarget->Messages();
    EXPECT_EQ(CountOf(messages, UWM_FILE_SCANNED), 10);
    EXPECT_EQ(CountOf(messages, UWM_DUPLICATE_FOUND), 2);
    EXPECT_EQ(messages.back().nMessage, UWM_SEARCH_FINISHED);
}

TEST_F(SearchControl, StopWhilePausedInTheCountingPassEndsWithoutReports) {
    auto pTarget = std::make_shared<CRecordingTarget>();
    g_evtRun.ResetEvent();
    std::thread worker = Start(pTarget);
    WaitForMessages(*pTarget, 1);
    // Stop sets the gate first, so that a paused worker wakes and sees the request.
    g_evtRun.SetEvent();
    g_evtStop.SetEvent();
    worker.join();
    const auto messages = pTarget->Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1].nMessage, UWM_RESET_RESULTS);
    // The entry fetched after the wake-up is handled: the count is partial.
    EXPECT_LE(messages[1].nLParam, 1);
    EXPECT_EQ(CountOf(messages, UWM_FILE_SCANNED), 0);
    EXPECT_EQ(messages[2].nMessage, UWM_SEARCH_FINISHED);
}

TEST_F(SearchControl, StopInTheListingPassKeepsTheReportsMadeSoFar) {
    for (const int nStopAfter : {1, 4, 9}) {
        ResetSearchEvents();
        auto pTarget = std::make_shared<CRecordingTarget>();
        int nScanned = 0;
        // Raised on the worker's own thread while it handles a file, so it takes hold at the
        // next test: exactly nStopAfter files are scanned.
        pTarget->m_fnOnMessage = [&](const RecordedMessage& msg) {
            if (msg.nMessage == UWM_FILE_SCANNED && ++nScanned == nStopAfter)
                g_evtStop.SetEvent();
        };
        std::thread worker = Start(pTarget);
        worker.join();
        const auto messages = pTarget->Messages();
        EXPECT_EQ(messages[1].nLParam, 10);
        EXPECT_EQ(CountOf(messages, UWM_FILE_SCANNED), nStopAfter) << nStopAfter;
        EXPECT_EQ(CountOf(messages, UWM_SEARCH_FINISHED), 1);
        EXPECT_EQ(messages.back().nMessage, UWM_SEARCH_FINISHED);
        // Every report made stands: each names a file that was scanned before it.
        for (const auto& [strRep, strDup] : DuplicatePairs(messages))
            EXPECT_EQ(BaseName(strRep), BaseName(strDup));
    }
}

TEST_F(SearchControl, PauseThenStopWakesAndEndsTheWorker) {
    auto pTarget = std::make_shared<CRecordingTarget>();
    std::atomic<int> nScanned = 0;
    // Pause from the worker's thread after the third file: it holds before the fourth.
    pTarget->m_fnOnMessage = [&](const RecordedMessage& msg) {
        if (msg.nMessage == UWM_FILE_SCANNED && ++nScanned == 3)
            g_evtRun.ResetEvent();
    };
    std::thread worker = Start(pTarget);
    while (nScanned < 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(nScanned.load(), 3);
    g_evtRun.SetEvent();
    g_evtStop.SetEvent();
    worker.join();
    const auto messages = pTarget->Messages();
    // The entry fetched on waking is finished; the next test ends the walk.
    EXPECT_LE(CountOf(messages, UWM_FILE_SCANNED), 4);
    EXPECT_EQ(messages.back().nMessage, UWM_SEARCH_FINISHED);
    EXPECT_EQ(CountOf(messages, UWM_SEARCH_FINISHED), 1);
}

TEST_F(SearchControl, WorkerNeverHangsInASendToAClosedTarget) {
    // A front end that never handles its messages and closes while the worker waits in the
    // first send: the worker must go on and end by itself.
    class CNeverHandlingTarget : public CRecordingTarget {
    public:
        std::atomic<int> m_nDelivered = 0;

    protected:
        void Deliver(std::unique_ptr<CSearchMessage> pMsg) override {
            m_held.push_back(std::move(pMsg));
            ++m_nDelivered;
        }

    private:
        std::vector<std::unique_ptr<CSearchMessage>> m_held;
    };
    auto pTarget = std::make_shared<CNeverHandlingTarget>();
    std::thread worker = Start(pTarget);
    while (pTarget->m_nDelivered == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    pTarget->Close();
    worker.join();
    // After the close nothing more was handed over: not the second reset, not the end.
    EXPECT_EQ(pTarget->m_nDelivered.load(), 1);
}

} // namespace
