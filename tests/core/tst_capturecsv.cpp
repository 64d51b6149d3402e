#include "core/capturecsv.h"

#include <QTest>
#include <QTimeZone>

#include <cmath>

using namespace kdx;

namespace {

Capture sample(int steps, int readings)
{
    Capture c;
    c.label = QStringLiteral("P2=200 P3=10 P7=30 %1%2").arg(steps > 0 ? "+" : "").arg(steps);
    c.takenAt = QDateTime(QDate(2026, 12, 8), QTime(7, 31, 12, 345));
    c.port = QStringLiteral("/dev/ttyUSB0");
    c.params = {1000, 50, 200, 10, 200, 100, 1024, 30};
    c.paramsKnown = true;
    c.steps = steps;
    c.record.stepCounts = steps;
    c.record.moveEndMs = std::abs(steps) * 0.016;
    c.record.windowMs = 1000;
    for (int i = 0; i < readings; ++i) {
        // Times as a steady clock gives them, in ns turned into ms.
        c.record.tMs.push_back(0.012 + i * 3.8711 + i * i * 1e-6);
        c.record.error.push_back(std::round(steps * std::exp(-i / 20.0) * std::sin(i / 3.0)));
    }
    return c;
}

void compareCaptures(const Capture &a, const Capture &b)
{
    QCOMPARE(a.label, b.label);
    QCOMPARE(a.takenAt, b.takenAt);
    QCOMPARE(a.port, b.port);
    QCOMPARE(a.axis, b.axis);
    QCOMPARE(a.paramsKnown, b.paramsKnown);
    if (a.paramsKnown)
        QVERIFY(a.params == b.params);
    QCOMPARE(a.steps, b.steps);
    QCOMPARE(a.record.stepCounts, b.record.stepCounts);
    QCOMPARE(a.record.moveEndMs, b.record.moveEndMs);
    QCOMPARE(a.record.windowMs, b.record.windowMs);
    QCOMPARE(a.record.complete, b.record.complete);
    // Exactly the same numbers, not just near ones.
    QVERIFY(a.record.tMs == b.record.tMs);
    QVERIFY(a.record.error == b.record.error);
}

} // namespace

Q_DECLARE_METATYPE(Capture)

class TestCaptureCsv : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void roundTrip_data();
    void roundTrip();
    void severalCaptures();
    void plainText();
    void lenientInput_data();
    void lenientInput();
    void malformed_data();
    void malformed();
};

void TestCaptureCsv::roundTrip_data()
{
    QTest::addColumn<Capture>("capture");
    QTest::newRow("forward") << sample(400, 300);
    QTest::newRow("backward") << sample(-2000, 50);

    Capture unknown = sample(5, 10);
    unknown.paramsKnown = false;
    unknown.params = {};
    unknown.takenAt = QDateTime();
    unknown.port = QString();
    unknown.label = QStringLiteral("árvíztűrő tükörfúrógép, \"idézve\"");
    unknown.axis = QStringLiteral("3. gép, X tengely");
    QTest::newRow("gains unknown, no date, accents, named axis") << unknown;

    Capture broken = sample(100, 0);
    broken.record.complete = false;
    broken.record.moveEndMs = qInf(); // the velocity limit was 0
    QTest::newRow("no readings, incomplete") << broken;

    Capture fractions = sample(300, 5);
    fractions.record.error = {0.1 + 0.2, -1e-7, 123456.789, 1e12, -0.5};
    fractions.record.stepCounts = 75.25;
    QTest::newRow("fractions and large numbers") << fractions;

    Capture utc = sample(7, 3);
    utc.takenAt = QDateTime(QDate(2026, 1, 2), QTime(23, 59, 59, 999), QTimeZone::utc());
    QTest::newRow("UTC time") << utc;
}

void TestCaptureCsv::roundTrip()
{
    QFETCH(Capture, capture);
    const CsvResult back = capturesFromCsv(captureToCsv(capture));
    QCOMPARE(back.error, QString());
    QCOMPARE(back.captures.size(), size_t(1));
    compareCaptures(back.captures.front(), capture);
}

void TestCaptureCsv::severalCaptures()
{
    Capture withBreak = sample(-400, 20);
    withBreak.label = QStringLiteral("first line\nsecond line");
    const std::vector<Capture> all{sample(400, 20), withBreak, sample(400, 0), sample(9, 1)};
    const CsvResult back = capturesFromCsv(capturesToCsv(all));
    QCOMPARE(back.error, QString());
    QCOMPARE(back.captures.size(), all.size());
    withBreak.label = QStringLiteral("first line second line");
    compareCaptures(back.captures[0], all[0]);
    compareCaptures(back.captures[1], withBreak);
    compareCaptures(back.captures[2], all[2]);
    compareCaptures(back.captures[3], all[3]);
}

void TestCaptureCsv::plainText()
{
    // What a spreadsheet, numpy or pandas is given: '#' lines, then the
    // columns with a dot for the decimal point, whatever the locale.
    const QByteArray csv = captureToCsv(sample(400, 3));
    const QList<QByteArray> lines = csv.split('\n');
    QCOMPARE(lines.last(), QByteArray());
    QCOMPARE(lines.at(lines.size() - 5), QByteArray("time_ms,error_counts"));
    QCOMPARE(lines.at(lines.size() - 4), QByteArray("0.012,0"));
    for (qsizetype i = 0; i < lines.size() - 5; ++i)
        QVERIFY2(lines[i].startsWith("# "), lines[i].constData());
    QVERIFY(csv.contains("# date: 2026-12-08T07:31:12.345"));
    QVERIFY(csv.contains("# port: /dev/ttyUSB0\n"));
    QVERIFY(csv.contains("# params: P0=1000 P1=50 P2=200 P3=10 P4=200 P5=100 P6=1024 P7=30\n"));
    QVERIFY(csv.contains("# step: 400\n"));
}

void TestCaptureCsv::lenientInput_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<double>("stepCounts");
    QTest::addColumn<double>("moveEndMs");
    QTest::addColumn<double>("windowMs");
    QTest::addColumn<int>("readings");

    QTest::newRow("byte order mark and CR LF")
        << QByteArray("\xEF\xBB\xBF# step_counts: 400\r\ntime_ms,error_counts\r\n0,0\r\n1.5,3\r\n")
        << 400.0 << 0.0 << 1.5 << 2;
    QTest::newRow("blanks, empty lines, comments and unknown keys")
        << QByteArray("# written by hand\n\n#step_counts:-50\n# operator: Kovács\n"
                      " time_ms , error_counts \n\n 0 , 1 \n2,  -3\n\n")
        << -50.0 << 0.0 << 2.0 << 2;
    QTest::newRow("counts from the steps and the gear")
        << QByteArray("# params: P0=500 P1=50 P2=200 P3=10 P4=200 P5=100 P6=256 P7=30\n"
                      "# step: -400\ntime_ms,error_counts\n0,0\n")
        << -100.0 << 12.8 << 0.0 << 1;
    QTest::newRow("exponents") << QByteArray("# step_counts: 1e3\n# window_ms: 5e2\n"
                                             "time_ms,error_counts\n1e-3,2.5E1\n")
                               << 1000.0 << 0.0 << 500.0 << 1;
}

void TestCaptureCsv::lenientInput()
{
    QFETCH(QByteArray, csv);
    QFETCH(double, stepCounts);
    QFETCH(double, moveEndMs);
    QFETCH(double, windowMs);
    QFETCH(int, readings);
    const CsvResult r = capturesFromCsv(csv);
    QCOMPARE(r.error, QString());
    QCOMPARE(r.captures.size(), size_t(1));
    const StepRecord &rec = r.captures.front().record;
    QCOMPARE(rec.stepCounts, stepCounts);
    QCOMPARE(rec.moveEndMs, moveEndMs);
    QCOMPARE(rec.windowMs, windowMs);
    QCOMPARE(int(rec.tMs.size()), readings);
    QCOMPARE(int(rec.error.size()), readings);
    QVERIFY(rec.complete);
}

void TestCaptureCsv::malformed_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("error");

    const QByteArray head = "# step_counts: 400\ntime_ms,error_counts\n";
    QTest::newRow("empty") << QByteArray() << 0 << "Hibás a fájl: nincs benne felvétel.";
    QTest::newRow("only blank lines")
        << QByteArray("\n \r\n\n") << 0 << "Hibás a fájl: nincs benne felvétel.";
    // A row that is not two numbers.
    const auto notTwoNumbers = [](int line) {
        return QStringLiteral("Hibás a fájl %1. sora: két szám kell vesszővel elválasztva "
                              "(time_ms,error_counts).")
            .arg(line);
    };
    QTest::newRow("decimal comma") << head + "0,0\n1,5,3\n" << 4 << notTwoNumbers(4);
    QTest::newRow("semicolons") << head + "0;0\n" << 3 << notTwoNumbers(3);
    QTest::newRow("one column") << head + "0,1\n5\n" << 4 << notTwoNumbers(4);
    QTest::newRow("empty field") << head + "0,\n" << 3 << notTwoNumbers(3);
    QTest::newRow("not a number") << head + "0,0\n1,abc\n" << 4 << notTwoNumbers(4);
    QTest::newRow("infinite") << head + "0,inf\n" << 3 << notTwoNumbers(3);
    QTest::newRow("not a number spelled out") << head + "nan,0\n" << 3 << notTwoNumbers(3);
    QTest::newRow("time going back") << head + "0,0\n5,1\n4,2\n"
                                     << 5 << "Hibás a fájl 5. sora: az idő nem csökkenhet.";
    QTest::newRow("negative time") << head + "-1,0\n"
                                   << 3 << "Hibás a fájl 3. sora: az idő nem lehet negatív.";
    QTest::newRow("no column row") << QByteArray("# step_counts: 400\n0,0\n") << 2
                                   << "Hibás a fájl 2. sora: a time_ms,error_counts oszlopsor "
                                      "hiányzik.";
    QTest::newRow("other columns") << QByteArray("# step_counts: 400\ntime,error\n0,0\n") << 2
                                   << "Hibás a fájl 2. sora: a time_ms,error_counts oszlopsor "
                                      "hiányzik.";
    QTest::newRow("header only") << QByteArray("# step_counts: 400\n") << 1
                                 << "Hibás a fájl 1. sora: a time_ms,error_counts oszlopsor "
                                    "hiányzik.";
    QTest::newRow("no step size") << QByteArray("# label: x\n# step: 400\ntime_ms,error_counts\n")
                                  << 1
                                  << "Hibás a fájl 1. sora: az itt kezdődő felvételből hiányzik "
                                     "a lépés mérete (step_counts).";
    QTest::newRow("second capture without step size")
        << head + "0,0\n\n# label: b\ntime_ms,error_counts\n0,0\n"
        << 5
        << "Hibás a fájl 5. sora: az itt kezdődő felvételből hiányzik a lépés mérete "
           "(step_counts).";
    QTest::newRow("bad date") << QByteArray("# date: yesterday\n") + head << 1
                              << "Hibás a fájl 1. sora: a date értéke hibás: „yesterday”.";
    QTest::newRow("seven parameters")
        << QByteArray("# params: P0=1 P1=2 P2=3 P3=4 P4=5 P5=6 P6=7\n") + head << 1
        << "Hibás a fájl 1. sora: a params értéke hibás: „P0=1 P1=2 P2=3 P3=4 P4=5 P5=6 P6=7”.";
    QTest::newRow("parameters out of order")
        << QByteArray("# params: P1=1 P0=2 P2=3 P3=4 P4=5 P5=6 P6=7 P7=8\n") + head << 1
        << "Hibás a fájl 1. sora: a params értéke hibás: „P1=1 P0=2 P2=3 P3=4 P4=5 P5=6 P6=7 "
           "P7=8”.";
    QTest::newRow("parameter beyond 16 bits")
        << QByteArray("# params: P0=1 P1=2 P2=3 P3=4 P4=5 P5=6 P6=7 P7=40000\n") + head << 1
        << "Hibás a fájl 1. sora: a params értéke hibás: „P0=1 P1=2 P2=3 P3=4 P4=5 P5=6 P6=7 "
           "P7=40000”.";
    QTest::newRow("step not whole") << QByteArray("# step: 4.5\n") + head << 1
                                    << "Hibás a fájl 1. sora: a step értéke hibás: „4.5”.";
    QTest::newRow("negative window") << QByteArray("# window_ms: -3\n") + head << 1
                                     << "Hibás a fájl 1. sora: a window_ms értéke hibás: „-3”.";
    QTest::newRow("infinite step") << QByteArray("# step_counts: inf\ntime_ms,error_counts\n") << 1
                                   << "Hibás a fájl 1. sora: a step_counts értéke hibás: „inf”.";
    QTest::newRow("complete neither yes nor no")
        << head + "# complete: maybe\n"
        << 3 << "Hibás a fájl 3. sora: a complete értéke hibás: „maybe”.";
    QTest::newRow("step twice") << QByteArray("# step_counts: 4\n") + head << 2
                                << "Hibás a fájl 2. sora: a step_counts kétszer szerepel.";
    QTest::newRow("not UTF-8") << QByteArray("# label: \xE1rv\xEDz\n") + head << 1
                               << "Hibás a fájl 1. sora: nem UTF-8 szöveg.";
    QTest::newRow("a good capture, then a bad one")
        << head + "0,0\n1,1\n# step_counts: 10\ntime_ms,error_counts\n0,x\n"
        << 7 << notTwoNumbers(7);
}

void TestCaptureCsv::malformed()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, line);
    QFETCH(QString, error);
    const CsvResult r = capturesFromCsv(csv);
    QCOMPARE(r.error, error);
    QCOMPARE(r.errorLine, line);
    QVERIFY(r.captures.empty()); // nothing partial
}

QTEST_GUILESS_MAIN(TestCaptureCsv)
#include "tst_capturecsv.moc"
