#include "paramfile.h"

#include "filetext.h"
#include "windows1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QCoreApplication>
#include <algorithm>

namespace kdx {

namespace {

// Unreadable is told apart from missing: only a missing file may be created.
ParamFile::ReadResult readBytes(const QString &path, QByteArray &bytes)
{
    using Status = ParamFile::ReadResult::Status;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(path))
            return {Status::Missing, {}, {}};
        return {Status::Failed, {}, file.errorString()};
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {Status::Failed, {}, file.errorString()};
    return {Status::Read, {}, {}};
}

QString internalPath(const QString &folder)
{
    return QDir(folder).filePath(QString::fromUtf8(ParamFile::kFileName));
}

} // namespace

QString ParamFile::path() const
{
    QString folder = QDir::toNativeSeparators(m_folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder + QString::fromUtf8(kFileName);
}

ParamFile::ReadResult ParamFile::read() const
{
    QByteArray bytes;
    ReadResult result = readBytes(internalPath(m_folder), bytes);
    if (result.status == ReadResult::Status::Read)
        result.rows = splitRows(decodeFileText(bytes));
    return result;
}

bool ParamFile::create()
{
    m_error.clear();
    if (m_writer->createIfMissing(internalPath(m_folder)))
        return true;
    m_error = m_writer->errorString();
    return false;
}

ParamFile::Existing ParamFile::readExisting()
{
    QByteArray bytes;
    const ReadResult r = readBytes(internalPath(m_folder), bytes);
    if (r.status == ReadResult::Status::Failed) {
        m_error = r.error;
        return {false, {}};
    }
    return {true, bytes};
}

bool ParamFile::replace(const QList<QByteArray> &pieces)
{
    if (m_writer->replace(internalPath(m_folder), pieces))
        return true;
    m_error = m_writer->errorString();
    return false;
}

bool ParamFile::append(const QString &line)
{
    m_error.clear();
    const Existing existing = readExisting();
    if (!existing.ok)
        return false;
    // A UTF-8 file stays UTF-8: a line in windows-1250 would turn the
    // whole file into one that is read in the other code page.
    const FileEncoding encoding = detectEncoding(existing.bytes);
    const std::optional<QByteArray> encoded = encodeText(line, encoding);
    if (!encoded) {
        m_error = QCoreApplication::translate(
            "ParamFile", "a sor olyan karaktert tartalmaz, amely a file kódolásában nem tárolható");
        return false;
    }
    QList<QByteArray> pieces{existing.bytes};
    // A last line without its end would swallow the new line.
    if (!endsWithLineEnd(existing.bytes))
        pieces << QByteArray(kLineEnd);
    pieces << *encoded + kLineEnd;
    return replace(pieces);
}

bool ParamFile::rewrite(const QStringList &rows)
{
    m_error.clear();
    const Existing existing = readExisting();
    if (!existing.ok)
        return false;
    // Rows read from a UTF-8 file go back as UTF-8, and so do rows that
    // windows-1250 cannot hold; everything else is written in windows-1250.
    FileEncoding encoding = detectEncoding(existing.bytes);
    if (encoding == FileEncoding::Windows1250 &&
        !std::all_of(rows.begin(), rows.end(),
                     [](const QString &row) { return windows1250::canEncode(row); }))
        encoding = FileEncoding::Utf8;

    QList<QByteArray> pieces;
    pieces.reserve(rows.size() + 1);
    if (encoding == FileEncoding::Utf8WithBom)
        pieces << QByteArray(kUtf8Bom);
    for (const QString &row : rows)
        pieces << *encodeText(row, encoding) + kLineEnd;
    return replace(pieces);
}

} // namespace kdx
