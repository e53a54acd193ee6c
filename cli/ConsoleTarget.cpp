#include "cli/ConsoleTarget.h"

std::unique_ptr<CSearchMessage> CConsoleTarget::WaitNext(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    if (!m_cvQueued.wait_for(lock, timeout, [this] { return !m_queue.empty(); }))
        return nullptr;
    auto pMsg = std::move(m_queue.front());
    m_queue.pop_front();
    return pMsg;
}

void CConsoleTarget::Deliver(std::unique_ptr<CSearchMessage> pMsg) {
    bool bWasEmpty = false;
    {
        std::lock_guard lock(m_mutex);
        bWasEmpty = m_queue.empty();
        m_queue.push_back(std::move(pMsg));
    }
    // The main thread waits only on an empty queue, so only the first message after it ran
    // dry needs to wake it; waking it for every message would cost a system call each.
    if (bWasEmpty)
        m_cvQueued.notify_one();
}
