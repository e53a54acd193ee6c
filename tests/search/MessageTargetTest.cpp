#include "search/MessageTarget.h"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Keeps every message it gets without handling it, like a window that has not got round to
// its queue yet.
class CHoldingTarget : public CMessageTarget {
public:
    std::unique_ptr<CSearchMessage> TakeOne() {
        std::lock_guard lock(m_mutex);
        if (m_held.empty())
            return nullptr;
        auto pMsg = std::move(m_held.front());
        m_held.erase(m_held.begin());
        return pMsg;
    }
    size_t HeldCount() {
        std::lock_guard lock(m_mutex);
        return m_held.size();
    }

protected:
    void Deliver(std::unique_ptr<CSearchMessage> pMsg) override {
        std::lock_guard lock(m_mutex);
        m_held.push_back(std::move(pMsg));
    }

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<CSearchMessage>> m_held;
};

void WaitUntilHeld(CHoldingTarget& target, size_t nCount) {
    while (target.HeldCount() < nCount)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(MessageTarget, SendReturnsOnceTheMessageIsHandled) {
    CHoldingTarget target;
    auto sent = std::async(std::launch::async,
                           [&] { return target.Send(CSearchMessage(UWM_RESET_RESULTS)); });
    WaitUntilHeld(target, 1);
    EXPECT_EQ(sent.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    auto pMsg = target.TakeOne();
    ASSERT_TRUE(pMsg);
    EXPECT_TRUE(pMsg->pReceipt);
    pMsg.reset(); // handled
    EXPECT_TRUE(sent.get());
}

TEST(MessageTarget, CloseReleasesAWaitingSendAndRefusesLaterMessages) {
    CHoldingTarget target;
    auto sent = std::async(std::launch::async,
                           [&] { return target.Send(CSearchMessage(UWM_RESET_RESULTS)); });
    WaitUntilHeld(target, 1);
    target.Close();
    EXPECT_FALSE(sent.get());
    EXPECT_FALSE(target.Post(CSearchMessage(UWM_FILE_SCANNED, "/x")));
    EXPECT_FALSE(target.Send(CSearchMessage(UWM_RESET_RESULTS)));
    EXPECT_EQ(target.HeldCount(), 1u);
    // A message handled after the close is harmless.
    target.TakeOne().reset();
    target.Close();
    EXPECT_TRUE(target.IsClosed());
}

TEST(MessageTarget, PostedMessagesArriveInOrderWithTheirPayload) {
    CHoldingTarget target;
    EXPECT_TRUE(target.Post(CSearchMessage(UWM_FILE_SCANNED, "/a/\xff")));
    EXPECT_TRUE(target.Post(CSearchMessage(UWM_DUPLICATE_FOUND, "/r", "/d")));
    EXPECT_TRUE(target.Post(CSearchMessage(UWM_SEARCH_FINISHED)));
    auto p1 = target.TakeOne();
    auto p2 = target.TakeOne();
    auto p3 = target.TakeOne();
    EXPECT_EQ(p1->nMessage, UWM_FILE_SCANNED);
    EXPECT_EQ(p1->strWParam, "/a/\xff");
    EXPECT_FALSE(p1->pReceipt);
    EXPECT_EQ(p2->strWParam, "/r");
    EXPECT_EQ(p2->strLParam, "/d");
    EXPECT_EQ(p3->nMessage, UWM_SEARCH_FINISHED);
}

} // namespace
