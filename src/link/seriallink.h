#pragma once

#include "linkerror.h"
#include "portopener.h"

#include <QByteArray>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

class QIODevice;

namespace kdx {

// Faults of the line since the program started, for the operator's view of
// its health. They only ever grow; a view takes differences.
struct LinkCounters {
    quint64 timeouts = 0; // waits for a reply that ran out
    quint64 uncut = 0;    // replies no value could be cut from
    quint64 resends = 0;  // requests sent again for want of a usable reply
    quint64 dropped = 0;  // bytes of earlier answers dropped when an operation took the line
};

// The one line to the controller. Sends commands, waits for the first byte
// of an answer while the window keeps handling its events, and hands over
// everything received. Received bytes are never thrown away: whatever is not
// read now is the front of the next read.
//
// No wait lasts for ever. When the controller stays silent past the reply
// time-out, or the port goes away, the waiting operation ends with a
// LinkError, and so does every later step of it, until the outermost
// operation has unwound (endOperation()).
class SerialLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultReplyTimeoutMs = 2000;
    static constexpr int kDefaultReconnectIntervalMs = 1000;
    static constexpr int kMaxReadAttempts = 50;

    explicit SerialLink(PortOpener &opener, QObject *parent = nullptr);

    // Opens the port at start-up; a failure other than "in use" gets one
    // more attempt. While the port stays closed it is retried in the
    // background.
    OpenResult openAtStartup();
    // Closes the present port and opens the one of this opener instead, as
    // start-up opens its first; a port in use is retried like a lost one.
    // Only between operations.
    OpenResult switchTo(PortOpener &opener);
    bool isOpen() const { return m_open; }
    QString portName() const { return m_opener->displayName(); }

    // Puts bytes on the line without waiting.
    void send(const QByteArray &bytes);
    // Handles window events until at least one received byte is waiting.
    void waitForInput();
    // Number of received bytes waiting, up to this moment.
    qint64 waiting() const;
    // Takes every byte received up to this moment.
    QByteArray takeAll();
    // Gives the line to an operation clean: waits (at most the reply
    // time-out) for the answers to every request already sent, then drops
    // them with whatever else has come in, so that the operation's first
    // request gets its own answer and no other.
    void handOver();
    // Requests sent whose answers have not come in yet, as far as the line
    // shows: every request ends with a CR, every answer with a colon or a
    // line feed.
    int unanswered() const { return m_unanswered; }

    // Ends the running operation for the given reason (reported once).
    [[noreturn]] void fail(LinkError::Kind kind);
    // Called when the outermost operation has ended: later operations may
    // talk to the controller again.
    void endOperation();
    // The program ends: every wait and send stops at once from now on.
    void shutDown();

    // What is wrong with the line, in the operator's words; empty when nothing is.
    QString problem() const { return m_problem; }
    // A reply made sense. Ends the report of a silent or garbled controller;
    // a silent one's also ends with the first byte that arrives, but a
    // garbled one keeps sending bytes that make no sense.
    void understood();

    const LinkCounters &counters() const { return m_counters; }
    void noteUncut() { ++m_counters.uncut; }
    void noteResend() { ++m_counters.resends; }

    void setReplyTimeout(int ms) { m_replyTimeoutMs = ms; }
    int replyTimeout() const { return m_replyTimeoutMs; }
    void setReconnectInterval(int ms);

signals:
    void problemChanged(const QString &problem);
    void openChanged(bool open);
    // Wakes every wait so that it looks at the state again.
    void wake();

private:
    void attach();
    OpenResult openWithRetry();
    void ensureUsable();
    // Takes into the device's buffer whatever the line has delivered by now.
    void collectReceived() const;
    void setProblem(const QString &problem);
    void clearReplyProblem();
    void setOpen(bool open, const QString &reason);
    void portFailed();
    void tryReconnect();
    // Handles events until a byte comes in, the link wakes, or ms pass.
    void sleepUntilInput(qint64 ms);
    void endWait();

    PortOpener *m_opener;
    QIODevice *m_device;
    QTimer m_reconnect;
    QEventLoop m_waitLoop;
    QTimer m_expiry;
    bool m_inWait = false;
    QString m_problem;
    LinkCounters m_counters;
    int m_replyTimeoutMs = kDefaultReplyTimeoutMs;
    int m_reconnectIntervalMs = kDefaultReconnectIntervalMs;
    int m_unanswered = 0;
    bool m_open = false;
    bool m_aborting = false;
    bool m_shutDown = false;
    enum class ReplyProblem { None, Silent, Garbled };
    ReplyProblem m_replyProblem = ReplyProblem::None; // what the shown problem is about
};

} // namespace kdx
