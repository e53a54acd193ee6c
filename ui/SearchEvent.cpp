#include "ui/SearchEvent.h"

#include "search/SearchMessages.h"

#include <QCoreApplication>

CSearchEvent::CSearchEvent(std::unique_ptr<CSearchMessage> pMsg)
    : QEvent(static_cast<QEvent::Type>(pMsg->nMessage)), m_pMsg(std::move(pMsg)) {}

CSearchEvent::~CSearchEvent() = default;

bool CSearchEvent::IsSearchEvent(QEvent::Type type) {
    const auto nType = static_cast<unsigned>(type);
    return nType >= UWM_RESET_RESULTS && nType <= UWM_FILE_SCANNED;
}

void CDialogMessageTarget::Deliver(std::unique_ptr<CSearchMessage> pMsg) {
    std::lock_guard lock(m_mutex);
    m_queue.push_back(std::move(pMsg));
    if (!m_bAwake) {
        m_bAwake = true;
        // postEvent is safe from any thread and takes ownership of the event.
        QCoreApplication::postEvent(m_pReceiver, new QEvent(kWakeEvent));
    }
}

std::unique_ptr<CSearchMessage> CDialogMessageTarget::TakeNext() {
    std::lock_guard lock(m_mutex);
    if (m_queue.empty()) {
        m_bAwake = false;
        return nullptr;
    }
    auto pMsg = std::move(m_queue.front());
    m_queue.pop_front();
    return pMsg;
}
