#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>

#include <functional>

// A stand-in for the serial port: records every byte the terminal writes and
// answers each line (up to its carriage return) from a responder, or only
// when the test delivers bytes itself.
class ScriptedDevice : public QIODevice {
    Q_OBJECT
public:
    using Responder = std::function<QByteArray(const QByteArray &line)>;

    explicit ScriptedDevice(QObject *parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    // Every byte written so far, and the lines (without CR) it makes up.
    QByteArray written() const { return m_written; }
    QList<QByteArray> lines() const { return m_lines; }
    void clearWritten();

    // The answer to each complete line; an empty answer sends nothing.
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Puts bytes into the receive buffer, as if the controller sent them.
    void deliver(const QByteArray &bytes);
    // Makes the next write fail, as on a vanished device.
    void failWrites(bool fail) { m_failWrites = fail; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    QByteArray m_written;
    QByteArray m_partial;
    QList<QByteArray> m_lines;
    QByteArray m_incoming;
    Responder m_responder;
    bool m_failWrites = false;
};
