// The commissioning report ("Jegyzőkönyv"): made headless as PDF and HTML,
// read back with poppler's pdftotext and pdfinfo; what the values are marked
// with; and the whole way from the workbench on the simulated controller.

#include "app/terminal.h"
#include "historyevents.h"
#include "link/simulatedopener.h"
#include "operations/capturestore.h"
#include "operations/historyrecorder.h"
#include "operations/paramrows.h"
#include "scriptedfiles.h"
#include "scriptedprompter.h"
#include "widgets/commissioningreport.h"
#include "widgets/form1.h"
#include "widgets/workbenchwindow.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace kdx;

namespace {

constexpr int kPatienceMs = 30000; // a deadline for what must happen, never a measure

// Runs a poppler tool on the file; its output.
QString poppler(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QStringLiteral("(%1 is missing: install poppler-utils)").arg(tool);
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(kPatienceMs);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pagesOf(const QString &pdf)
{
    for (const QString &line : poppler(QStringLiteral("pdfinfo"), {pdf}).split(u'\n'))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return 0;
}

QString textOf(const QString &pdf)
{
    // One blank between words, whatever the layout made of them.
    return poppler(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
        .simplified();
}

HistoryEvent read(const QStringList &values, ReadOccasion occasion)
{
    HistoryEvent e;
    e.kind = HistoryKind::Read;
    e.occasion = occasion;
    for (int n = 0; n < kParamCount; ++n)
        e.set[std::size_t(n)] = values[n];
    return e;
}

HistoryEvent write(int n, const QString &before, const QString &sent, bool stored,
                   const ParamTexts &after)
{
    HistoryEvent e;
    e.kind = HistoryKind::Write;
    e.param = n;
    e.before = before;
    e.sent = sent;
    e.readBack = sent;
    e.stored = stored;
    e.set = after;
    e.at = QDateTime(QDate(2026, 12, 8), QTime(10, 5, n));
    return e;
}

HistoryEvent captured(int p2, int steps)
{
    Capture c = numberedCapture(p2, 400);
    c.steps = steps;
    c.record.stepCounts = steps;
    if (steps < 0)
        for (double &e : c.record.error)
            e = -e;
    c.label = QStringLiteral("P2=%1 %2").arg(p2).arg(steps);
    HistoryEvent e;
    e.kind = HistoryKind::Capture;
    for (int n = 0; n < kParamCount; ++n)
        e.set[std::size_t(n)] = QString::number(c.params[std::size_t(n)]);
    e.capture = c;
    return e;
}

// A session: read at start, a capture, a tuning that changed P7, a test
// write of P2, a stored P3, another capture; or only the start, or a
// great many writes.
ReportInput session(const QString &kind)
{
    ReportInput in;
    in.axis = {QStringLiteral("3. gép, X tengely"), QStringLiteral("/dev/ttyUSB0")};
    in.date = QDateTime(QDate(2026, 12, 8), QTime(10, 30));
    in.note = QStringLiteral("Megrendelő: Kovács Kft.\nA szán súrlódása nagy.");
    const QStringList start{"1000", "50", "200", "10", "200", "100", "1024", "30"};
    in.events.push_back(read(start, ReadOccasion::Startup));
    if (kind == QLatin1String("start"))
        return in;
    ParamTexts now = in.events.back().set;
    if (kind == QLatin1String("writes")) {
        for (int k = 0; k < 200; ++k) {
            now[2] = QString::number(200 + k);
            in.events.push_back(write(2, QString::number(199 + k), now[2], false, now));
        }
        return in;
    }
    in.events.push_back(captured(0, 400));
    HistoryEvent tuning;
    tuning.kind = HistoryKind::Tuning;
    TuningOptions options;
    options.tuneP = false;
    options.tuneI = false;
    TuningResult result;
    result.outcome = TuningResult::Outcome::Tuned;
    result.message = QStringLiteral("A hangolt értékek próbaként érvényesek.");
    result.snapshotKnown = true;
    result.snapshot = {1000, 50, 200, 10, 200, 100, 1024, 30};
    result.tuned = {1000, 50, 200, 10, 200, 100, 1024, 96};
    result.stepsUsed = 104;
    result.elapsedMs = 41700;
    tuning.tuning = tuningEntry(options, result);
    now[7] = QStringLiteral("96");
    tuning.set = now;
    in.events.push_back(tuning);
    now[2] = QStringLiteral("345");
    in.events.push_back(write(2, QStringLiteral("200"), QStringLiteral("345"), false, now));
    now[3] = QStringLiteral("12");
    in.events.push_back(write(3, QStringLiteral("10"), QStringLiteral("12"), true, now));
    in.events.push_back(captured(345, -400));
    in.events.back().set = now;
    return in;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void valuesAreMarkedAsTheyStand();
    void pdfAndHtml_data();
    void pdfAndHtml();
    void fromTheWorkbench();
};

void TestReport::valuesAreMarkedAsTheyStand()
{
    const ReportContent c = reportContent(session(QStringLiteral("whole")));
    QCOMPARE(c.found[2], QStringLiteral("200"));
    QCOMPARE(c.left[2], QStringLiteral("345"));
    QCOMPARE(c.left[7], QStringLiteral("96"));
    QCOMPARE(c.standing[0], ValueStanding::Unchanged);
    QCOMPARE(c.standing[2], ValueStanding::Test);
    QCOMPARE(c.standing[3], ValueStanding::Stored);
    QCOMPARE(c.standing[7], ValueStanding::TestByTuning);
    QCOMPARE(c.writes.size(), std::size_t(2));
    QVERIFY(c.tuning);
    // The first and the last response, the backward one turned forward.
    QVERIFY(c.before && c.after);
    QCOMPARE(c.before->params[2], 0);
    QCOMPARE(c.after->params[2], 345);
    QVERIFY(c.after->record.stepCounts > 0);
    QCOMPARE(c.after->record.error, c.before->record.error);
}

void TestReport::pdfAndHtml_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("a whole session") << "whole"
                                     << QStringList{"Üzembe helyezési jegyzőkönyv",
                                                    "3. gép, X tengely",
                                                    "/dev/ttyUSB0",
                                                    "Megrendelő: Kovács Kft.",
                                                    "A szán súrlódása nagy.",
                                                    "P2 - ( P - gain ) 200 345 csak próba (TESZT)",
                                                    "P3 - ( I - gain ) 10 12 tárolva (W 0)",
                                                    "P7 - ( D - gain ) 30 96 csak próba (hangolás)",
                                                    "P0 - ( Velocity limit ) 1000 1000 változatlan",
                                                    "Lépésválasz előtte és utána",
                                                    "Túllövés (%)",
                                                    "Beállási idő (ms)",
                                                    "ITAE",
                                                    "Automata hangolás",
                                                    "Kiegyensúlyozott",
                                                    "hangolva",
                                                    "P7: 30 → 96",
                                                    "104",
                                                    "41,7 s",
                                                    "Írások a munkamenetben",
                                                    "mentés (W 0)",
                                                    "próba (TESZT)"};
    QTest::newRow("only the start") << "start"
                                    << QStringList{"3. gép, X tengely", "változatlan",
                                                   "nem készült lépésválasz", "Nem volt írás."};
    QTest::newRow("two hundred writes")
        << "writes" << QStringList{"Az utolsó 18 írás a(z) 200 közül", "P2 - ( P - gain ) 200 399"};
}

void TestReport::pdfAndHtml()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, texts);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("jegyzokonyv.pdf"));
    const QString html = dir.filePath(QStringLiteral("jegyzokonyv.html"));
    const ReportInput input = session(kind);
    QCOMPARE(writeReport(input, pdf, html), QString());

    const int pages = pagesOf(pdf);
    QVERIFY2(pages >= 1 && pages <= 2, qPrintable(QStringLiteral("%1 pages").arg(pages)));
    const QString text = textOf(pdf);
    QFile htmlFile(html);
    QVERIFY(htmlFile.open(QIODevice::ReadOnly));
    const QString htmlText = QString::fromUtf8(htmlFile.readAll());
    for (const QString &expected : texts) {
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + text));
        const QString firstWords = expected.section(u' ', 0, 1);
        QVERIFY2(htmlText.contains(firstWords.toHtmlEscaped()), qPrintable(firstWords));
    }
    // The HTML stands alone: its chart is inside it.
    QCOMPARE(htmlText.contains(QStringLiteral("src=\"data:image/png;base64,")), kind == "whole");
}

void TestReport::fromTheWorkbench()
{
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("KDXparam.txt"))).open(QIODevice::WriteOnly);
    SimulatedOpener opener;
    ScriptedPrompter prompter;
    ScriptedFiles files;
    TerminalOptions options;
    options.opener = &opener;
    options.prompter = &prompter;
    options.files = &files;
    options.paramFolder = dir.path();
    options.historyFile = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    options.reconnectIntervalMs = 0;
    Terminal terminal(options);
    QVERIFY(terminal.start());
    terminal.run([&] { terminal.onFirstShown(); });
    emit terminal.form().AutoTuning->clicked();
    WorkbenchWindow *window = terminal.workbench();
    QVERIFY(window);
    window->axisBox()->setText(QStringLiteral("2. gép, Z tengely"));
    QCOMPARE(terminal.history().place().name, QStringLiteral("2. gép, Z tengely"));

    // A capture, a test write of P2, another capture.
    window->windowBox()->setValue(300);
    window->captureButton()->setFocus();
    window->captureButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(terminal.captures().size() == 1, kPatienceMs);
    // The focus went to "Megszakítás" and back, never into the axis name
    // with its text selected for typing over.
    QCOMPARE(window->focusWidget(), window->captureButton());
    terminal.rows().newValue(2).set(QStringLiteral("400"));
    emit terminal.form().row(2).test->clicked();
    window->captureButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(terminal.captures().size() == 2, kPatienceMs);
    QCOMPARE(terminal.captures().at(1).capture.axis, QStringLiteral("2. gép, Z tengely"));

    window->reportNote()->setPlainText(QStringLiteral("Próbapad"));
    window->previewReport();
    QVERIFY(window->reportPreview()->toPlainText().contains(QStringLiteral("2. gép, Z tengely")));
    const QString pdf = dir.filePath(QStringLiteral("z-tengely"));
    files.saves.push_back(pdf);
    window->reportButton()->click();
    QVERIFY2(files.proposals.last().contains(QStringLiteral("jegyzokonyv-2__gép__Z_tengely")),
             qPrintable(files.proposals.last()));
    QVERIFY2(prompter.shown.isEmpty(), qPrintable(prompter.texts().join(u'\n')));
    QVERIFY(QFile::exists(pdf + QStringLiteral(".html")));
    const QString text = textOf(pdf + QStringLiteral(".pdf"));
    for (const QString &expected :
         {QStringLiteral("2. gép, Z tengely"), QStringLiteral("szimulátor"),
          QStringLiteral("Próbapad"),
          QStringLiteral("P2 - ( P - gain ) 200 400 csak próba (TESZT)"),
          QStringLiteral("Lépésválasz előtte és utána"), QStringLiteral("próba (TESZT) 400")})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral("\n---\n") + text));
    QVERIFY(window->messageLine()->text().contains(QStringLiteral("Jegyzőkönyv mentve")));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
