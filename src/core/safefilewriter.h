#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QFile;
class QTemporaryFile;

namespace kdx {

// Replaces a file so that it is never lost: the new content goes into a
// temporary file in the same folder, every write, the flush and the sync to
// disk are checked, and only then is the temporary file renamed over the old
// one. On any failure the temporary file is removed and the old file is left
// exactly as it was.
//
// A writer that is killed half-way leaves its temporary file behind (the old
// file is still whole). Such leftovers are recognised by their name,
// "<file>.kdxtmp-" and six letters or digits, and removed by the next
// replacement of the same file, unless a live writer still holds them open.
//
// The steps are virtual so that tests can make any one of them fail.
class SafeFileWriter {
public:
    virtual ~SafeFileWriter() = default;

    // Writes the pieces one after the other as the new content of path.
    // False, with errorString() saying why, when the old file was kept.
    bool replace(const QString &path, const QList<QByteArray> &pieces);

    // Creates an empty file when none exists; an existing file is not
    // touched.
    bool createIfMissing(const QString &path);

    QString errorString() const { return m_error; }

    // The name pattern of the temporary files for path (QTemporaryFile form).
    static QString temporaryTemplate(const QString &path);
    // True when name is that of a temporary file for a file named fileName.
    static bool isTemporaryOf(const QString &name, const QString &fileName);

protected:
    virtual bool openTemporary(QTemporaryFile &file);
    virtual bool writePiece(QFile &file, const QByteArray &piece);
    virtual bool flushToDisk(QFile &file);
    virtual bool moveOver(const QString &from, const QString &to);
    virtual bool create(QFile &file);

    // Records why a step failed; the steps return false after calling it.
    bool fail(const QString &reason);

private:
    static void removeStaleTemporaries(const QString &target);

    QString m_error;
};

} // namespace kdx
