// A manual-reset event: once set it stays set until reset, and releases every waiter.
#pragma once

#include <condition_variable>
#include <mutex>

class CEvent {
public:
    explicit CEvent(bool bInitiallySet) : m_bSet(bInitiallySet) {}
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void SetEvent();
    void ResetEvent();
    // Tests the state without waiting.
    bool IsSet() const;
    // Waits without a time limit until the event is set.
    void Wait() const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_cvChanged;
    bool m_bSet;
};
