// The message target of twinsift-cli: the worker's messages are queued here and taken off by
// the main thread, which handles them in the order they were posted.
#pragma once

#include "search/MessageTarget.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

class CConsoleTarget : public CMessageTarget {
public:
    // The oldest queued message, waiting up to the time-out for one; null when none came. A
    // sent message is handled (its sender goes on) when the returned message is destroyed.
    std::unique_ptr<CSearchMessage> WaitNext(std::chrono::milliseconds timeout);

protected:
    void Deliver(std::unique_ptr<CSearchMessage> pMsg) override;

private:
    std::mutex m_mutex;
    std::condition_variable m_cvQueued;
    std::deque<std::unique_ptr<CSearchMessage>> m_queue;
};
