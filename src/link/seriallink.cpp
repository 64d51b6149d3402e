#include "seriallink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSerialPort>

namespace kdx {

namespace {

QString problemText(LinkError::Kind kind)
{
    switch (kind) {
    case LinkError::Kind::NoReply:
        return SerialLink::tr("a mikrokontroller nem válaszol");
    case LinkError::Kind::Unintelligible:
        return SerialLink::tr("a mikrokontroller válasza értelmezhetetlen");
    case LinkError::Kind::NotOpen:
        return SerialLink::tr("a port nincs megnyitva");
    case LinkError::Kind::Aborted:
        break;
    }
    return QString();
}

} // namespace

SerialLink::SerialLink(PortOpener &opener, QObject *parent)
    : QObject(parent), m_opener(&opener), m_device(opener.device())
{
    m_reconnect.setSingleShot(false);
    connect(&m_reconnect, &QTimer::timeout, this, &SerialLink::tryReconnect);
    // The outermost wait's loop and time-out, kept for every wait.
    m_expiry.setSingleShot(true);
    connect(&m_expiry, &QTimer::timeout, this, &SerialLink::endWait);
    connect(this, &SerialLink::wake, this, &SerialLink::endWait);
    attach();
}

void SerialLink::endWait()
{
    if (m_inWait)
        m_waitLoop.quit();
}

void SerialLink::attach()
{
    connect(m_device, &QIODevice::readyRead, this, &SerialLink::endWait);
    if (auto *port = qobject_cast<QSerialPort *>(m_device)) {
        connect(port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
            switch (e) {
            case QSerialPort::ResourceError:
            case QSerialPort::ReadError:
            case QSerialPort::WriteError:
            case QSerialPort::UnknownError:
                if (m_open)
                    portFailed();
                break;
            default:
                break;
            }
        });
    }
    connect(m_device, &QIODevice::aboutToClose, this, [this] {
        if (m_open)
            QMetaObject::invokeMethod(this, &SerialLink::portFailed, Qt::QueuedConnection);
    });
}

OpenResult SerialLink::openWithRetry()
{
    OpenResult result = m_opener->open();
    if (result.status == OpenResult::Status::Failed) {
        const OpenResult again = m_opener->open();
        if (again.status == OpenResult::Status::Open)
            result = again;
    }
    return result;
}

OpenResult SerialLink::openAtStartup()
{
    const OpenResult result = openWithRetry();
    switch (result.status) {
    case OpenResult::Status::Open:
        setOpen(true, m_opener->takeOpeningNote());
        break;
    case OpenResult::Status::InUse:
        // A port in use ends the program before anything else happens.
        break;
    case OpenResult::Status::Failed:
        setOpen(false, result.reason);
        break;
    }
    return result;
}

OpenResult SerialLink::switchTo(PortOpener &opener)
{
    Q_ASSERT(!m_aborting);
    // The old port goes quietly: its closing is no failure to report.
    disconnect(m_device, nullptr, this, nullptr);
    if (m_device->isOpen())
        m_device->close();
    m_opener = &opener;
    m_device = opener.device();
    attach();

    const OpenResult result = openWithRetry();
    if (result.status == OpenResult::Status::Open)
        setOpen(true, m_opener->takeOpeningNote());
    else
        setOpen(false, result.status == OpenResult::Status::InUse
                           ? tr("a portot egy másik program használja")
                           : result.reason);
    return result;
}

void SerialLink::setReconnectInterval(int ms)
{
    m_reconnectIntervalMs = ms;
    if (ms <= 0)
        m_reconnect.stop();
    else if (!m_open && !m_shutDown && m_reconnect.isActive())
        m_reconnect.start(ms);
}

void SerialLink::setOpen(bool open, const QString &reason)
{
    const bool changed = open != m_open;
    m_open = open;
    // A line opened (again) owes no answers: whatever was on its way went
    // with the old one.
    m_unanswered = 0;
    m_replyProblem = ReplyProblem::None;
    // Open, the reason is a note about the opening, if any.
    setProblem(reason);
    if (open || m_shutDown || m_reconnectIntervalMs <= 0)
        m_reconnect.stop();
    else if (!m_reconnect.isActive())
        m_reconnect.start(m_reconnectIntervalMs);
    if (changed)
        emit openChanged(open);
}

void SerialLink::portFailed()
{
    if (!m_open)
        return;
    m_aborting = true;
    // Close at once: a vanished device keeps reporting errors while it is open.
    if (m_device->isOpen())
        m_device->close();
    setOpen(false, tr("a kapcsolat megszakadt"));
    emit wake();
}

void SerialLink::tryReconnect()
{
    if (m_open || m_shutDown)
        return;
    const OpenResult result = m_opener->open();
    if (result.status == OpenResult::Status::Open)
        setOpen(true, m_opener->takeOpeningNote());
    else if (result.status == OpenResult::Status::InUse)
        setProblem(tr("a portot egy másik program használja"));
}

void SerialLink::setProblem(const QString &problem)
{
    if (problem == m_problem)
        return;
    m_problem = problem;
    emit problemChanged(problem);
}

void SerialLink::ensureUsable()
{
    if (m_shutDown || m_aborting)
        throw LinkError(LinkError::Kind::Aborted);
    if (!m_open)
        throw LinkError(LinkError::Kind::NotOpen);
}

void SerialLink::send(const QByteArray &bytes)
{
    ensureUsable();
    if (m_device->write(bytes) != bytes.size()) {
        portFailed();
        throw LinkError(LinkError::Kind::NotOpen);
    }
    m_unanswered += int(bytes.count('\r'));
    // Hand the bytes to the driver now: a settling delay may follow that
    // handles no events.
    if (auto *port = qobject_cast<QSerialPort *>(m_device))
        port->flush();
}

void SerialLink::waitForInput()
{
    // Like every wait of the terminal, let the window catch up first. With
    // nothing received yet the wait's own event loop does that on its first
    // pass, so only bytes already in need a pass of their own.
    if (m_device->bytesAvailable() > 0)
        QCoreApplication::processEvents();
    const QDeadlineTimer deadline(m_replyTimeoutMs);
    for (;;) {
        ensureUsable();
        if (m_device->bytesAvailable() > 0) {
            if (m_replyProblem == ReplyProblem::Silent)
                clearReplyProblem();
            return;
        }
        if (deadline.hasExpired())
            fail(LinkError::Kind::NoReply);
        sleepUntilInput(std::max<qint64>(0, deadline.remainingTime()));
    }
}

void SerialLink::sleepUntilInput(qint64 ms)
{
    // A wait started inside another wait (an event handled meanwhile runs an
    // operation of its own) gets a loop of its own.
    if (m_inWait) {
        QEventLoop loop;
        QTimer expiry;
        expiry.setSingleShot(true);
        connect(&expiry, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(m_device, &QIODevice::readyRead, &loop, &QEventLoop::quit);
        connect(this, &SerialLink::wake, &loop, &QEventLoop::quit);
        expiry.start(ms);
        loop.exec();
        return;
    }
    m_inWait = true;
    m_expiry.start(ms);
    m_waitLoop.exec();
    m_expiry.stop();
    m_inWait = false;
}

void SerialLink::collectReceived() const
{
    // A serial port hands over what its driver has received only when the
    // event loop runs or when asked. The settling delay runs no events, yet
    // the bytes that came in meanwhile belong to the reply it waited for.
    // A few rounds take what the driver holds without chasing a flood.
    for (int round = 0; round < 16 && m_device->waitForReadyRead(0); ++round) {
    }
}

qint64 SerialLink::waiting() const
{
    if (!m_open)
        return 0;
    collectReceived();
    return m_device->bytesAvailable();
}

QByteArray SerialLink::takeAll()
{
    ensureUsable();
    collectReceived();
    ensureUsable(); // the port may have failed meanwhile
    const QByteArray bytes = m_device->readAll();
    if (m_unanswered > 0) {
        const auto ends = bytes.count(':') + bytes.count('\n');
        m_unanswered = ends >= m_unanswered ? 0 : m_unanswered - int(ends);
    }
    return bytes;
}

void SerialLink::handOver()
{
    if (!m_open || m_shutDown)
        return;
    const QDeadlineTimer deadline(m_replyTimeoutMs);
    for (;;) {
        m_counters.dropped += quint64(takeAll().size());
        if (m_unanswered == 0)
            return;
        if (deadline.hasExpired()) {
            // Those answers are lost; should one still come, it is no
            // answer to the requests that follow.
            m_unanswered = 0;
            return;
        }
        sleepUntilInput(std::max<qint64>(0, deadline.remainingTime()));
    }
}

void SerialLink::fail(LinkError::Kind kind)
{
    if (kind == LinkError::Kind::NoReply) {
        ++m_counters.timeouts;
        // What did not come within the time-out is taken as lost: the next
        // operation does not wait for it again.
        m_unanswered = 0;
    }
    if (kind == LinkError::Kind::NoReply || kind == LinkError::Kind::Unintelligible) {
        m_replyProblem =
            kind == LinkError::Kind::NoReply ? ReplyProblem::Silent : ReplyProblem::Garbled;
        setProblem(problemText(kind));
    }
    m_aborting = true;
    emit wake();
    throw LinkError(kind);
}

void SerialLink::understood()
{
    if (m_replyProblem != ReplyProblem::None)
        clearReplyProblem();
}

void SerialLink::clearReplyProblem()
{
    m_replyProblem = ReplyProblem::None;
    setProblem(QString());
}

void SerialLink::endOperation()
{
    m_aborting = false;
}

void SerialLink::shutDown()
{
    m_shutDown = true;
    m_reconnect.stop();
    emit wake();
}

} // namespace kdx
