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
    // postEvent is safe from any thread and takes ownership of the event.
    QCoreApplication::postEvent(m_pReceiver, new CSearchEvent(std::move(pMsg)));
}
