// How the search worker's messages reach the window: the dialog's message target posts each
// message, wrapped in a CSearchEvent, into the Qt event queue of the dialog. The event owns the
// message; destroying the event (after the dialog has handled it, or when Qt drops the events
// of a destroyed receiver) destroys the message, which completes a Send.
#pragma once

#include "search/MessageTarget.h"

#include <QEvent>
#include <memory>

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
    explicit CDialogMessageTarget(QObject* pReceiver) : m_pReceiver(pReceiver) {}

protected:
    void Deliver(std::unique_ptr<CSearchMessage> pMsg) override;

private:
    QObject* m_pReceiver;
};
