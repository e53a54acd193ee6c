// The front end that a search worker reports to: a small channel with its own lock, condition
// and closed flag.
//
// Post hands a message over without waiting. Send hands it over and waits until the receiver
// has handled it (that is, until the message object is destroyed), or until the channel is
// closed. A front end closes the channel before it goes away (and before it waits for the
// worker), so a worker can never hang in a Send, and no message is handed to a receiver that is
// gone: Post and Send check the flag and hand over under the lock.
#pragma once

#include "search/SearchMessages.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

struct CMessageChannelState {
    // Recursive, because a receiver may destroy a sent message inside Deliver, on the worker's
    // own thread, while the channel is locked.
    std::recursive_mutex mutex;
    std::condition_variable_any cvChanged;
    bool bClosed = false;
    std::uint64_t nLastSent = 0;
    std::uint64_t nLastHandled = 0;
};

class CMessageTarget {
public:
    CMessageTarget();
    CMessageTarget(const CMessageTarget&) = delete;
    CMessageTarget& operator=(const CMessageTarget&) = delete;
    virtual ~CMessageTarget() = default;

    // Returns false, dropping the message, when the channel is closed.
    bool Post(CSearchMessage msg);
    // The same for a message made earlier; posting it allocates nothing.
    bool Post(std::unique_ptr<CSearchMessage> pMsg);
    // Returns true once the message has been handled; false at once, or as soon as the channel
    // closes, when the receiver is gone or going.
    bool Send(CSearchMessage msg);
    // Idempotent. After it returns, Deliver is never called again and every Send returns.
    void Close();
    bool IsClosed() const;

protected:
    // Hands the message to the receiving side. Must not block. Called on the worker's thread
    // with the channel locked.
    virtual void Deliver(std::unique_ptr<CSearchMessage> pMsg) = 0;

private:
    std::shared_ptr<CMessageChannelState> m_pState;
};
