#include "safefilewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace kdx {

namespace {

constexpr QLatin1StringView kTemporaryInfix(".kdxtmp-");
constexpr qsizetype kTemporaryTailLength = 6; // the XXXXXX of the template

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Makes the rename itself durable. The new file is already in place when
// this runs, so a failure here cannot bring the old one back and is not
// reported.
void syncFolder([[maybe_unused]] const QString &folder)
{
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// Marks the temporary file as in use for as long as this writer has it open,
// so that another writer's clean-up leaves it alone. Where the file system
// has no such locks the mark is missing, which costs nothing but the
// clean-up's certainty.
void holdWhileWriting([[maybe_unused]] QFile &file)
{
#ifndef Q_OS_WIN
    ::flock(file.handle(), LOCK_EX | LOCK_NB);
#endif
}

// Removes a temporary file left behind by a writer that died. One that a
// live writer holds stays: on Windows an open file cannot be removed, and
// elsewhere its writer holds a lock on it.
void removeIfAbandoned(const QString &path)
{
#ifdef Q_OS_WIN
    QFile::remove(path);
#else
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(name.constData());
    ::close(fd);
#endif
}

} // namespace

QString SafeFileWriter::temporaryTemplate(const QString &path)
{
    return path + kTemporaryInfix + QString(kTemporaryTailLength, u'X');
}

bool SafeFileWriter::isTemporaryOf(const QString &name, const QString &fileName)
{
    const QString prefix = fileName + kTemporaryInfix;
    if (name.size() != prefix.size() + kTemporaryTailLength || !name.startsWith(prefix))
        return false;
    return std::all_of(name.begin() + prefix.size(), name.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    });
}

void SafeFileWriter::removeStaleTemporaries(const QString &target)
{
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (isTemporaryOf(name, info.fileName()))
            removeIfAbandoned(folder.filePath(name));
    }
}

bool SafeFileWriter::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

bool SafeFileWriter::replace(const QString &path, const QList<QByteArray> &pieces)
{
    m_error.clear();
    // A link keeps pointing at the file it names; the target is what changes.
    const QFileInfo link(path);
    const QString target = link.isSymLink() ? link.symLinkTarget() : link.absoluteFilePath();
    const QFileInfo old(target);

    // Leftovers of writers that were killed half-way go first; failing to
    // remove one only leaves it for the next time.
    removeStaleTemporaries(target);
    QTemporaryFile temporary(temporaryTemplate(target));
    if (!openTemporary(temporary))
        return false;
    holdWhileWriting(temporary);
    for (const QByteArray &piece : pieces) {
        if (!writePiece(temporary, piece))
            return false;
    }
    if (!flushToDisk(temporary))
        return false;
    // The new file keeps the old one's permissions; a new one gets the usual
    // read-write for the owner, read for everyone else. Failing to set them
    // loses no data, so it does not stop the replacement.
    temporary.setPermissions(old.exists()
                                 ? old.permissions()
                                 : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                       QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
#ifdef Q_OS_WIN
    temporary.close(); // an open file cannot be renamed there
#endif
    // Elsewhere the file stays open, and so marked as in use, until it has
    // its final name.
    if (!moveOver(temporary.fileName(), target))
        return false;
    temporary.setAutoRemove(false);
    temporary.close();
    syncFolder(old.absolutePath());
    return true;
}

bool SafeFileWriter::createIfMissing(const QString &path)
{
    m_error.clear();
    QFile file(path);
    // Opening for appending creates a missing file and never shortens one
    // that appeared in the meantime.
    return create(file);
}

bool SafeFileWriter::openTemporary(QTemporaryFile &file)
{
    return file.open() || fail(file.errorString());
}

bool SafeFileWriter::writePiece(QFile &file, const QByteArray &piece)
{
    return file.write(piece) == piece.size() || fail(file.errorString());
}

bool SafeFileWriter::flushToDisk(QFile &file)
{
    if (!file.flush())
        return fail(file.errorString());
#ifdef Q_OS_WIN
    if (::_commit(file.handle()) != 0)
        return fail(systemError(errno));
#else
    if (::fsync(file.handle()) != 0)
        return fail(systemError(errno));
#endif
    return true;
}

bool SafeFileWriter::moveOver(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(fsPath(from), fsPath(to), error);
    return !error || fail(QString::fromStdString(error.message()));
}

bool SafeFileWriter::create(QFile &file)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return fail(file.errorString());
    file.close();
    return true;
}

} // namespace kdx
