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
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(pMsg));
    }
    m_cvQueued.notify_one();
}
