#include "core/paramfile.h"
#include "core/paramfolder.h"
#include "faultywriter.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/file.h>
#include <unistd.h>

using namespace kdx;

class TestParamFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void replaceWritesEveryPiece();
    void failedReplaceKeepsTheOldFile_data();
    void failedReplaceKeepsTheOldFile();
    void replaceKeepsPermissionsAndLinks();
    void leftoversOfAKilledWriterGo();
    void createNeverShortensAFile();
    void readTellsMissingFromUnreadable();
    void appendAddsOneLine_data();
    void appendAddsOneLine();
    void appendRefusesWhatTheFileCannotHold();
    void rewriteKeepsTheFilesEncoding_data();
    void rewriteKeepsTheFilesEncoding();
    void unreadableFileIsNeverReplaced();
    void readOnlyFolder();
    void pathUsesThePlatformSeparator();
    void installedProgramKeepsTheFileWithTheUser_data();
    void installedProgramKeepsTheFileWithTheUser();

private:
    QString file() const { return m_dir->filePath(QStringLiteral("KDXparam.txt")); }
    QStringList folderEntries() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestParamFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestParamFile::replaceWritesEveryPiece()
{
    putFile(file(), "old\r\n");
    SafeFileWriter writer;
    QVERIFY(writer.replace(file(), {"a\r\n", "", "b\r\n"}));
    QCOMPARE(fileBytes(file()), QByteArray("a\r\nb\r\n"));
    QCOMPARE(folderEntries(), QStringList{"KDXparam.txt"});
    QVERIFY(writer.replace(file(), {}));
    QCOMPARE(fileBytes(file()), QByteArray());
}

void TestParamFile::failedReplaceKeepsTheOldFile_data()
{
    addFailingSteps();
}

void TestParamFile::failedReplaceKeepsTheOldFile()
{
    QFETCH(FaultyWriter::Step, step);
    QFETCH(QString, reason);
    const QByteArray old = "< a > P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8<end>\r\nsecond\r\n";
    putFile(file(), old);
    FaultyWriter writer(step, 2);
    QVERIFY(!writer.replace(file(), {"new one\r\n", "new two\r\n", "new three\r\n"}));
    QCOMPARE(writer.errorString(), reason);
    QCOMPARE(fileBytes(file()), old);
    // Nothing is left behind beside the file.
    QCOMPARE(folderEntries(), QStringList{"KDXparam.txt"});
    if (step == FaultyWriter::Step::Write)
        QVERIFY(!QFile::exists(writer.temporaryName));
}

void TestParamFile::replaceKeepsPermissionsAndLinks()
{
    const QString real = m_dir->filePath(QStringLiteral("real.txt"));
    putFile(real, "old");
    const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                       QFile::ReadGroup | QFile::WriteGroup;
    QVERIFY(QFile::setPermissions(real, perms));
    QVERIFY(QFile::link(real, file()));
    SafeFileWriter writer;
    QVERIFY(writer.replace(file(), {"new"}));
    QVERIFY(QFileInfo(file()).isSymLink());
    QCOMPARE(fileBytes(real), QByteArray("new"));
    QCOMPARE(QFile::permissions(real), perms);
}

void TestParamFile::leftoversOfAKilledWriterGo()
{
    putFile(file(), "old\r\n");
    const QString abandoned = file() + QStringLiteral(".kdxtmp-AbC123");
    const QString held = file() + QStringLiteral(".kdxtmp-held01");
    // Names that only look alike are the operator's own files.
    const QStringList bystanders{"KDXparam.txt.backup", "KDXparam.txt.kdxtmp-AbC1234",
                                 "KDXparam.txt.kdxtmp-AbC_12", "other.txt.kdxtmp-AbC123",
                                 "KDXparam.txt.kdxtmp-"};
    putFile(abandoned, "half");
    for (const QString &name : bystanders)
        putFile(m_dir->filePath(name), "mine");
    // Another writer is still busy with this one.
    QFile busy(held);
    QVERIFY(busy.open(QIODevice::WriteOnly));
    QCOMPARE(::flock(busy.handle(), LOCK_EX | LOCK_NB), 0);

    SafeFileWriter writer;
    QVERIFY(writer.replace(file(), {"new\r\n"}));
    QCOMPARE(fileBytes(file()), QByteArray("new\r\n"));
    QStringList expected = bystanders;
    expected << "KDXparam.txt"
             << "KDXparam.txt.kdxtmp-held01";
    expected.sort();
    QCOMPARE(folderEntries(), expected);

    busy.close();
    QVERIFY(writer.replace(file(), {"newer\r\n"}));
    expected.removeOne("KDXparam.txt.kdxtmp-held01");
    QCOMPARE(folderEntries(), expected);
    for (const QString &name : bystanders)
        QCOMPARE(fileBytes(m_dir->filePath(name)), QByteArray("mine"));
}

void TestParamFile::createNeverShortensAFile()
{
    SafeFileWriter writer;
    QVERIFY(writer.createIfMissing(file()));
    QCOMPARE(fileBytes(file()), QByteArray());
    putFile(file(), "kept\r\n");
    QVERIFY(writer.createIfMissing(file()));
    QCOMPARE(fileBytes(file()), QByteArray("kept\r\n"));
}

void TestParamFile::readTellsMissingFromUnreadable()
{
    using Status = ParamFile::ReadResult::Status;
    ParamFile pf(m_dir->path());
    QCOMPARE(pf.read().status, Status::Missing);
    putFile(file(), "a\r\nb");
    ParamFile::ReadResult r = pf.read();
    QCOMPARE(r.status, Status::Read);
    QCOMPARE(r.rows, (QStringList{"a", "b"}));
    QVERIFY(QFile::remove(file()));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("KDXparam.txt")));
    r = pf.read();
    QCOMPARE(r.status, Status::Failed);
    QVERIFY(!r.error.isEmpty());
}

void TestParamFile::appendAddsOneLine_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("missing file") << false << QByteArray() << QStringLiteral("< új > x")
                                  << QByteArray("< \xFAj > x\r\n");
    QTest::newRow("empty file") << true << QByteArray() << QStringLiteral("a")
                                << QByteArray("a\r\n");
    QTest::newRow("after CR LF") << true << QByteArray("a\r\n") << QStringLiteral("b")
                                 << QByteArray("a\r\nb\r\n");
    QTest::newRow("after CR") << true << QByteArray("a\r") << QStringLiteral("b")
                              << QByteArray("a\rb\r\n");
    QTest::newRow("last line without end")
        << true << QByteArray("a") << QStringLiteral("b") << QByteArray("a\r\nb\r\n");
    QTest::newRow("LF-only file") << true << QByteArray("a\nb\n") << QStringLiteral("c")
                                  << QByteArray("a\nb\n\r\nc\r\n");
    QTest::newRow("windows-1250 file stays so")
        << true << QByteArray("\xE9\r\n") << QStringLiteral("ő") << QByteArray("\xE9\r\n\xF5\r\n");
    QTest::newRow("UTF-8 file stays so")
        << true << QByteArray("\xC3\xA9\r\n") << QStringLiteral("ő")
        << QByteArray("\xC3\xA9\r\n\xC5\x91\r\n");
}

void TestParamFile::appendAddsOneLine()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QString, line);
    QFETCH(QByteArray, after);
    if (exists)
        putFile(file(), before);
    ParamFile pf(m_dir->path());
    QVERIFY2(pf.append(line), qPrintable(pf.errorString()));
    QCOMPARE(fileBytes(file()), after);
    QCOMPARE(pf.read().rows.last(), line);
}

void TestParamFile::appendRefusesWhatTheFileCannotHold()
{
    putFile(file(), "\xE9\r\n");
    ParamFile pf(m_dir->path());
    QVERIFY(!pf.append(QStringLiteral("kész ✓")));
    QVERIFY(!pf.errorString().isEmpty());
    QCOMPARE(fileBytes(file()), QByteArray("\xE9\r\n"));
}

void TestParamFile::rewriteKeepsTheFilesEncoding_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // the first row written back alone
    QTest::newRow("windows-1250") << QByteArray("\xE9 1\r\n\xE9 2") << QByteArray("\xE9 1\r\n");
    QTest::newRow("ASCII") << QByteArray("a\r\nb") << QByteArray("a\r\n");
    QTest::newRow("UTF-8") << QByteArray("\xC3\xA9 1\r\n\xC3\xA9 2\r\n")
                           << QByteArray("\xC3\xA9 1\r\n");
    QTest::newRow("UTF-8 with byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                              "a\r\nb\r\n")
                                                << QByteArray("\xEF\xBB\xBF"
                                                              "a\r\n");
    QTest::newRow("UTF-8 beyond windows-1250")
        << QByteArray("\xE2\x9C\x93\r\nx") << QByteArray("\xE2\x9C\x93\r\n");
    QTest::newRow("undefined bytes survive")
        << QByteArray("\x81\x83\x88\x90\x98\r\nx") << QByteArray("\x81\x83\x88\x90\x98\r\n");
}

void TestParamFile::rewriteKeepsTheFilesEncoding()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    putFile(file(), before);
    ParamFile pf(m_dir->path());
    const QStringList rows = pf.read().rows;
    QCOMPARE(rows.size(), 2);
    QVERIFY(pf.rewrite(rows.mid(0, 1)));
    QCOMPARE(fileBytes(file()), after);
    QCOMPARE(pf.read().rows, rows.mid(0, 1));
}

void TestParamFile::unreadableFileIsNeverReplaced()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("KDXparam.txt")));
    ParamFile pf(m_dir->path());
    QVERIFY(!pf.append(QStringLiteral("a")));
    QVERIFY(!pf.errorString().isEmpty());
    QVERIFY(!pf.rewrite({QStringLiteral("a")}));
    QVERIFY(QFileInfo(file()).isDir());
    QCOMPARE(folderEntries(), QStringList{"KDXparam.txt"});
}

void TestParamFile::readOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not stop root; the failing steps above stand in");
    putFile(file(), "a\r\n");
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    ParamFile pf(m_dir->path());
    const bool appended = pf.append(QStringLiteral("b"));
    const bool rewritten = pf.rewrite({});
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!appended);
    QVERIFY(!rewritten);
    QCOMPARE(fileBytes(file()), QByteArray("a\r\n"));
    QCOMPARE(folderEntries(), QStringList{"KDXparam.txt"});
}

void TestParamFile::pathUsesThePlatformSeparator()
{
    QCOMPARE(ParamFile(QStringLiteral("/opt/kdx")).path(),
             QDir::toNativeSeparators(QStringLiteral("/opt/kdx/KDXparam.txt")));
    QCOMPARE(ParamFile(QStringLiteral("/")).path(),
             QDir::toNativeSeparators(QStringLiteral("/KDXparam.txt")));
}

void TestParamFile::installedProgramKeepsTheFileWithTheUser_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("beside");
    QTest::newRow("build tree") << "/home/op/kdx/build/src" << true << true;
    QTest::newRow("portable copy, read-only") << "/media/stick/kdx" << false << false;
    QTest::newRow("package, user") << "/usr/bin" << false << false;
    // root may write there, and still the list does not belong among programs
    QTest::newRow("package, root") << "/usr/bin" << true << false;
    QTest::newRow("local install, root") << "/usr/local/bin" << true << false;
    QTest::newRow("opt, root") << "/opt/kdxterminal/bin" << true << false;
    QTest::newRow("bin, root") << "/bin" << true << false;
    QTest::newRow("folder named like usr") << "/usrdata/kdx" << true << true;
}

void TestParamFile::installedProgramKeepsTheFileWithTheUser()
{
    QFETCH(QString, program);
    QFETCH(bool, writable);
    QFETCH(bool, beside);
    const QString user = QStringLiteral("/home/op/.local/share/kdxterminal");
    QCOMPARE(paramFolderFor(program, writable, user), beside ? program : user);
}

QTEST_APPLESS_MAIN(TestParamFile)
#include "tst_paramfile.moc"
