// How the search worker's messages reach the window. The dialog's message target queues them
// and posts one wake-up event to the dialog when the queue stops being empty; the dialog then
// handles queued messages in order, a few milliseconds' worth at a time, and wakes itself again
// for the rest, so that input, timers and painting get their turn however fast the worker
// reports. Destroying a message (once handled, or with the target) completes a Send.
//
// A CSearchEvent carries one message as a Qt event of its own type; the dialog handles it the
// same way (tests send them directly).
#pragma once

#include "search/MessageTarget.h"

#include <QEvent>
#include <deque>
#include <memory>
#include <mutex>

class QObject;

class CSearchEvent : public QEvent {
public:
    // The event type is the message number (0x8001 to 0x8004 lie in Qt's user range).
    explicit CSearchEvent(std::unique_ptr<CSearchMessage> pMsg);
    ~CSearchEvent() override;

    const CSearchMessage& Message() const { return *m_pMsg; }

    // Whether an event type is one of the search messages.
    static bool IsSearchEvent(QEvent::Type type);

private:
    std::unique_ptr<CSearchMessage> m_pMsg;
};

// The target of one search: delivers to a receiver on the UI thread until it is closed. The
// receiver closes it before it waits for the worker and before it goes away, so the worker
// never posts to a receiver that no longer exists.
class CDialogMessageTarget : public CMessageTarget {
public:
    // The type of the wake-up event, beside the message numbers in Qt's user range.
    static constexpr QEvent::Type kWakeEvent = static_cast<QEvent::Type>(0x8010);

    explicit CDialogMessageTarget(QObject* pReceiver) : m_pReceiver(pReceiver) {}

    // On the UI thread: the oldest queued message, or null when the queue is empty (the next
    // message then posts a new wake-up).
    std::unique_ptr<CSearchMessage> TakeNext();

protected:
    void Deliver(std::unique_ptr<CSearchMessage> pMsg) override;

private:
    QObject* m_pReceiver;
    std::mutex m_mutex;
    std::deque<std::unique_ptr<CSearchMessage>> m_queue;
    // A wake-up is posted and the queue not yet found empty since.
    bool m_bAwake = false;
};
