#include "kdxsimprocess.h"

#include <QFile>

KdxsimProcess::~KdxsimProcess()
{
    stop();
}

bool KdxsimProcess::start(const QStringList &arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KDXSIM_PATH), arguments);
    if (!m_process.waitForStarted(10000))
        return false;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000))
            return false;
    }
    m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return m_path.startsWith(QLatin1Char('/'));
}

void KdxsimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

void KdxsimProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

void KdxsimProcess::command(const QByteArray &line)
{
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(5000);
}

QList<int> KdxsimProcess::values()
{
    command("values");
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(5000))
            return {};
    }
    const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
    QList<int> values;
    if (words.size() != 9 || words.front() != "values")
        return {};
    for (qsizetype i = 1; i < words.size(); ++i)
        values << words[i].toInt();
    return values;
}

QStringList KdxsimProcess::receivedLines(const QString &logPath)
{
    QFile file(logPath);
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &entry : file.readAll().split('\n')) {
        const qsizetype at = entry.indexOf(" > ");
        if (at >= 0)
            lines << QString::fromLatin1(entry.mid(at + 3));
        else if (entry.endsWith(" >"))
            lines << QString();
    }
    return lines;
}
