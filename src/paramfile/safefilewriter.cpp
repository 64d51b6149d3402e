#include "safefilewriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kdx {

namespace {

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

} // namespace

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

    QTemporaryFile temporary(target + QStringLiteral(".XXXXXX"));
    if (!openTemporary(temporary))
        return false;
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
    temporary.close();
    if (!moveOver(temporary.fileName(), target))
        return false;
    temporary.setAutoRemove(false);
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
