#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kdx::sim {

// kdxsim's record of what happened on the line, one entry a line, written as
// it happens: every line received with the time it arrived ("12.345 > P9"),
// and every event ("80.120 # burst 1000"), in ms on the server's clock.
// Bytes other than printable ASCII, and the backslash, appear as \xNN.
class LineLog {
public:
    bool open(const QString &path);
    bool isOpen() const { return m_file.isOpen(); }

    void line(qint64 ns, QByteArrayView text);
    void event(qint64 ns, const QByteArray &what);

    static QByteArray printable(QByteArrayView text);

private:
    void write(qint64 ns, const QByteArray &entry);

    QFile m_file;
};

} // namespace kdx::sim
