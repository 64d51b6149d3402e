#pragma once

#include "safefilewriter.h"

#include <QString>
#include <QStringList>

namespace kdx {

// KDXparam.txt in its folder: read as rows, one line appended, all rows
// written back. Every change goes through the safe writer, so a failure
// leaves the file as it was. A file that exists but cannot be read is never
// replaced: what it holds is unknown.
class ParamFile {
public:
    static constexpr const char *kFileName = "KDXparam.txt";

    struct ReadResult {
        enum class Status { Read, Missing, Failed };
        Status status;
        QStringList rows; // when read
        QString error;    // when failed
    };

    explicit ParamFile(const QString &folder) : m_folder(folder) {}

    QString folder() const { return m_folder; }
    // The file's path with the platform's separators, as messages show it.
    QString path() const;

    ReadResult read() const;
    // Creates the file empty when it is missing.
    bool create();
    // Adds one line at the end, in the encoding the file already has.
    bool append(const QString &line);
    // Replaces the file by the rows, one line each.
    bool rewrite(const QStringList &rows);

    // Why the last create, append or rewrite failed.
    QString errorString() const { return m_error; }

    // The writer behind every change; nullptr restores the ordinary one.
    void setWriter(SafeFileWriter *writer) { m_writer = writer ? writer : &m_ownWriter; }

private:
    struct Existing {
        bool ok;
        QByteArray bytes; // empty when the file is missing
    };
    Existing readExisting();
    bool replace(const QList<QByteArray> &pieces);

    QString m_folder;
    SafeFileWriter m_ownWriter;
    SafeFileWriter *m_writer = &m_ownWriter;
    QString m_error;
};

} // namespace kdx
