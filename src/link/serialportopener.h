#pragma once

#include "portlock.h"
#include "portopener.h"

#include <QSerialPort>

#include <utility>

namespace kdx {

// The production line: a serial port set to 38400 baud, no parity, 8 data
// bits, 1 stop bit. Tells a port held by another program apart from one that
// is missing or that this user may not open; on Linux it honours and leaves
// the marks serial programs put on a port they hold (see PortLock).
//
// Received bytes wait in a buffer of fixed size, as in a UART's driver: while
// it is full the port takes no more from the system, and what the system
// cannot hold is lost there, never in the program. A controller that floods
// the line therefore costs no memory, however long nothing reads.
class SerialPortOpener : public PortOpener {
public:
    // Far more than all the replies an operation leaves unread.
    static constexpr qint64 kReceiveBufferBytes = 64 * 1024;

    // An empty name means the platform's first serial port.
    explicit SerialPortOpener(const QString &portName = QString());

    QIODevice *device() override { return &m_port; }
    OpenResult open() override;
    QString displayName() const override { return m_displayName; }
    QString takeOpeningNote() override { return std::exchange(m_openingNote, QString()); }

    static QString defaultPortName();
    // Where lock files of serial programs live (by default /run/lock).
    void setLockFolder(const QString &folder) { m_lock.setFolder(folder); }

private:
    PortLock m_lock; // outlives the port, which lets go of it as it closes
    QSerialPort m_port;
    QString m_displayName;
    QString m_openingNote;
    bool m_lockNoteSaid = false;
};

} // namespace kdx
