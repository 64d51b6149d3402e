#include "processusage.h"

#include <QByteArray>
#include <QFile>

#include <sys/resource.h>

namespace kdx::bench {

namespace {

// One "Name:   1234 kB" field of /proc/self/status.
qint64 statusKiB(const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = name + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (!line.startsWith(key))
            continue;
        const QList<QByteArray> words = line.mid(key.size()).simplified().split(' ');
        bool ok = false;
        const qint64 value = words.value(0).toLongLong(&ok);
        return ok ? value : -1;
    }
    return -1;
}

double seconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

} // namespace

double cpuSeconds()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

qint64 residentKiB()
{
    return statusKiB("VmRSS");
}

qint64 peakResidentKiB()
{
    return statusKiB("VmHWM");
}

} // namespace kdx::bench
