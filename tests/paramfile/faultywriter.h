#pragma once

#include "core/safefilewriter.h"

#include <QFile>
#include <QTemporaryFile>
#include <QTest>

// The safe writer with one step made to fail, as a full disk, a read-only
// folder or a refused rename would. The failing write puts half of its bytes
// into the temporary file first.
class FaultyWriter : public kdx::SafeFileWriter {
public:
    enum class Step { None, Open, Write, Flush, Move, Create };

    explicit FaultyWriter(Step step = Step::None, int failingWrite = 1)
        : failAt(step), failingWrite(failingWrite)
    {
    }

    Step failAt;
    int failingWrite; // 1 = the first write of a replacement
    int writes = 0;   // writes so far, failed one included
    QString temporaryName;

protected:
    bool openTemporary(QTemporaryFile &file) override
    {
        writes = 0;
        if (failAt == Step::Open)
            return fail(QStringLiteral("Permission denied"));
        const bool opened = SafeFileWriter::openTemporary(file);
        temporaryName = file.fileName();
        return opened;
    }
    bool writePiece(QFile &file, const QByteArray &piece) override
    {
        if (failAt == Step::Write && ++writes == failingWrite) {
            file.write(piece.left(piece.size() / 2));
            file.flush();
            return fail(QStringLiteral("No space left on device"));
        }
        return SafeFileWriter::writePiece(file, piece);
    }
    bool flushToDisk(QFile &file) override
    {
        return failAt == Step::Flush ? fail(QStringLiteral("Input/output error"))
                                     : SafeFileWriter::flushToDisk(file);
    }
    bool moveOver(const QString &from, const QString &to) override
    {
        return failAt == Step::Move ? fail(QStringLiteral("Device or resource busy"))
                                    : SafeFileWriter::moveOver(from, to);
    }
    bool create(QFile &file) override
    {
        return failAt == Step::Create ? fail(QStringLiteral("Read-only file system"))
                                      : SafeFileWriter::create(file);
    }
};

Q_DECLARE_METATYPE(FaultyWriter::Step)

// The failures every change of the file must survive, as test rows: the
// failing step (a write fails at the second piece, in the middle) and the
// reason it reports.
inline void addFailingSteps()
{
    QTest::addColumn<FaultyWriter::Step>("step");
    QTest::addColumn<QString>("reason");
    using S = FaultyWriter::Step;
    QTest::newRow("read-only folder") << S::Open << QStringLiteral("Permission denied");
    QTest::newRow("disk full in the middle")
        << S::Write << QStringLiteral("No space left on device");
    QTest::newRow("flush or sync fails") << S::Flush << QStringLiteral("Input/output error");
    QTest::newRow("rename refused") << S::Move << QStringLiteral("Device or resource busy");
}
