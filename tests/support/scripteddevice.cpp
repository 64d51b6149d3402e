#include "scripteddevice.h"

#include <QTimer>

#include <cstring>

ScriptedDevice::ScriptedDevice(QObject *parent) : QIODevice(parent)
{
    QIODevice::open(QIODevice::ReadWrite | QIODevice::Unbuffered);
}

qint64 ScriptedDevice::bytesAvailable() const
{
    return m_incoming.size() + QIODevice::bytesAvailable();
}

void ScriptedDevice::clearWritten()
{
    m_written.clear();
    m_lines.clear();
}

void ScriptedDevice::deliver(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    m_incoming += bytes;
    // Like a real port, announce the bytes from the event loop.
    QTimer::singleShot(0, this, [this] {
        if (bytesAvailable() > 0)
            emit readyRead();
    });
}

qint64 ScriptedDevice::readData(char *data, qint64 maxSize)
{
    const qint64 n = std::min<qint64>(maxSize, m_incoming.size());
    std::memcpy(data, m_incoming.constData(), size_t(n));
    m_incoming.remove(0, n);
    return n;
}

qint64 ScriptedDevice::writeData(const char *data, qint64 size)
{
    if (m_failWrites)
        return -1;
    const QByteArray bytes(data, size);
    m_written += bytes;
    for (char c : bytes) {
        if (c != '\r') {
            m_partial += c;
            continue;
        }
        m_lines.append(m_partial);
        const QByteArray line = m_partial;
        m_partial.clear();
        if (m_responder)
            deliver(m_responder(line));
    }
    return size;
}
