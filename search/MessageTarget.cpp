#include "search/MessageTarget.h"

#include <algorithm>

// Completes one Send when the message that carries it is destroyed, handled or not.
class CSendReceipt {
public:
    CSendReceipt(std::shared_ptr<CMessageChannelState> pState, std::uint64_t nId)
        : m_pState(std::move(pState)), m_nId(nId) {}
    CSendReceipt(const CSendReceipt&) = delete;
    CSendReceipt& operator=(const CSendReceipt&) = delete;
    ~CSendReceipt() {
        {
            std::lock_guard lock(m_pState->mutex);
            m_pState->nLastHandled = std::max(m_pState->nLastHandled, m_nId);
        }
        m_pState->cvChanged.notify_all();
    }

private:
    std::shared_ptr<CMessageChannelState> m_pState;
    std::uint64_t m_nId;
};

CSearchMessage::CSearchMessage() = default;
CSearchMessage::CSearchMessage(unsigned nMsg, CString strW, CString strL, std::int64_t nL)
    : nMessage(nMsg), strWParam(std::move(strW)), strLParam(std::move(strL)), nLParam(nL) {}
CSearchMessage::CSearchMessage(CSearchMessage&&) noexcept = default;
CSearchMessage& CSearchMessage::operator=(CSearchMessage&&) noexcept = default;
CSearchMessage::~CSearchMessage() = default;

CMessageTarget::CMessageTarget() : m_pState(std::make_shared<CMessageChannelState>()) {}

bool CMessageTarget::Post(CSearchMessage msg) {
    return Post(std::make_unique<CSearchMessage>(std::move(msg)));
}

bool CMessageTarget::Post(std::unique_ptr<CSearchMessage> pMsg) {
    std::lock_guard lock(m_pState->mutex);
    if (m_pState->bClosed)
        return false;
    Deliver(std::move(pMsg));
    return true;
}

bool CMessageTarget::Send(CSearchMessage msg) {
    auto pMsg = std::make_unique<CSearchMessage>(std::move(msg));
    std::unique_lock lock(m_pState->mutex);
    if (m_pState->bClosed)
        return false;
    const std::uint64_t nId = ++m_pState->nLastSent;
    pMsg->pReceipt = std::make_unique<CSendReceipt>(m_pState, nId);
    Deliver(std::move(pMsg));
    m_pState->cvChanged.wait(lock,
                             [&] { return m_pState->bClosed || m_pState->nLastHandled >= nId; });
    return m_pState->nLastHandled >= nId;
}

void CMessageTarget::Close() {
    {
        std::lock_guard lock(m_pState->mutex);
        m_pState->bClosed = true;
    }
    m_pState->cvChanged.notify_all();
}

bool CMessageTarget::IsClosed() const {
    std::lock_guard lock(m_pState->mutex);
    return m_pState->bClosed;
}
