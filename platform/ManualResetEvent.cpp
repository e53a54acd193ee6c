#include "platform/ManualResetEvent.h"

void CEvent::SetEvent() {
    {
        std::lock_guard lock(m_mutex);
        m_bSet = true;
    }
    m_cvChanged.notify_all();
}

void CEvent::ResetEvent() {
    std::lock_guard lock(m_mutex);
    m_bSet = false;
}

bool CEvent::IsSet() const {
    std::lock_guard lock(m_mutex);
    return m_bSet;
}

void CEvent::Wait() const {
    std::unique_lock lock(m_mutex);
    m_cvChanged.wait(lock, [this] { return m_bSet; });
}
