#include "linelog.h"

namespace kdx::sim {

bool LineLog::open(const QString &path)
{
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void LineLog::line(qint64 ns, QByteArrayView text)
{
    write(ns, "> " + printable(text));
}

void LineLog::event(qint64 ns, const QByteArray &what)
{
    write(ns, "# " + what);
}

QByteArray LineLog::printable(QByteArrayView text)
{
    QByteArray shown;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '\\')
            shown += c;
        else
            shown += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
    }
    return shown;
}

void LineLog::write(qint64 ns, const QByteArray &entry)
{
    if (m_file.isOpen())
        m_file.write(QByteArray::number(double(ns) / 1e6, 'f', 3) + ' ' + entry + '\n');
}

} // namespace kdx::sim
