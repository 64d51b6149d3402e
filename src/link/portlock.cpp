#include "portlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstring>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kdx {

namespace {

QString nameFor(const QString &devicePath)
{
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    return QStringLiteral("LCK..") + name.replace(u'/', u'_');
}

#ifdef Q_OS_LINUX

// The PID a lock file names; 0 when it names none. The PID as text on the
// first line (UUCP's ten right-aligned characters, or a Qt program's lock
// file), or exactly 4 bytes holding it in binary.
qint64 holderOf(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\n');
    bool ok = false;
    const qint64 pid = bytes.left(end < 0 ? bytes.size() : end).trimmed().toLongLong(&ok);
    if (ok)
        return pid > 0 ? pid : 0;
    if (bytes.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, bytes.constData(), sizeof binary);
        return binary > 0 ? binary : 0;
    }
    return 0;
}

bool isAlive(qint64 pid)
{
    if (pid <= 0 || pid > INT_MAX)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

qint64 holderOfFile(const QString &path, bool *exists)
{
    QFile file(path);
    *exists = file.open(QIODevice::ReadOnly);
    return *exists ? holderOf(file.read(64)) : 0;
}

#endif

} // namespace

QStringList PortLock::fileNames(const QString &devicePath)
{
    QStringList names{nameFor(devicePath)};
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    if (!target.isEmpty() && target != devicePath && !names.contains(nameFor(target)))
        names << nameFor(target);
    return names;
}

PortLock::Claim PortLock::claim(const QString &devicePath)
{
    release();
    m_device = devicePath;
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(devicePath).constData(),
                          O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY ? Claim::InUse : Claim::Unknown;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return Claim::InUse;
    }
    m_fd = fd;

    const qint64 self = QCoreApplication::applicationPid();
    for (const QString &name : fileNames(devicePath)) {
        const QString path = QDir(m_folder).filePath(name);
        bool exists = false;
        const qint64 holder = holderOfFile(path, &exists);
        // A lock of this very process belongs to a port object of its own,
        // which decides for itself.
        if (!exists || holder == self)
            continue;
        if (isAlive(holder)) {
            release();
            return Claim::InUse;
        }
        // Its process is gone (or it names none): a left-over.
        QFile::remove(path);
    }
#endif
    return Claim::Free;
}

bool PortLock::markHeld()
{
#ifdef Q_OS_LINUX
    const qint64 self = QCoreApplication::applicationPid();
    const QByteArray content = QByteArray::number(self).rightJustified(10, ' ') + '\n';
    bool written = true;
    for (const QString &name : fileNames(m_device)) {
        const QString path = QDir(m_folder).filePath(name);
        bool exists = false;
        if (holderOfFile(path, &exists) == self)
            continue; // the serial port's own lock file, in the same folder
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            // Another program's lock that came meanwhile is its own business.
            if (errno != EEXIST)
                written = false;
            continue;
        }
        const bool complete =
            ::write(fd, content.constData(), size_t(content.size())) == ssize_t(content.size());
        ::close(fd);
        if (complete) {
            m_written << path;
        } else {
            QFile::remove(path);
            written = false;
        }
    }
    return written;
#else
    return true;
#endif
}

void PortLock::release()
{
#ifdef Q_OS_LINUX
    const qint64 self = QCoreApplication::applicationPid();
    for (const QString &path : std::as_const(m_written)) {
        bool exists = false;
        if (holderOfFile(path, &exists) == self)
            QFile::remove(path);
    }
    if (m_fd >= 0)
        ::close(m_fd);
#endif
    m_written.clear();
    m_fd = -1;
}

} // namespace kdx
