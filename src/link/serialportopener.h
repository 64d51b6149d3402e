#pragma once

#include "portopener.h"

#include <QSerialPort>

namespace kdx {

// The production line: a serial port set to 38400 baud, no parity, 8 data
// bits, 1 stop bit. Tells a port held by another program apart from one that
// is missing or that this user may not open.
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

    static QString defaultPortName();

private:
    QSerialPort m_port;
    QString m_displayName;
};

} // namespace kdx
