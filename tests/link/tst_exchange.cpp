#include "link/seriallink.h"
#include "operations/parameterreads.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/captionlabel.h"
#include "widgets/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace kdx;

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void singleRead_data();
    void singleRead();
    void readResendsUntilItCanCut();
    void endlessGarbageEndsTheRead();
    void unreadRepliesFrontTheNextRead();
    void settleDelayCountsItsSteps_data();
    void settleDelayCountsItsSteps();
    void readTimeChangeShowsTheTime_data();
    void readTimeChangeShowsTheTime();
    void timeoutEndsTheWholeOperation();
    void hiddenReadButtonStillWorksFromCode();
};

void TestExchange::singleRead_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("box");

    QTest::newRow("value keeps its leading blank") << 0 << QByteArray("P0 1234:") << " 1234";
    QTest::newRow("colon first leaves the box empty") << 0 << QByteArray(":P0 1234") << "";
    QTest::newRow("blank and number without colon") << 3 << QByteArray(" 77") << "77";
    QTest::newRow("number and blank") << 4 << QByteArray("250 ") << "250";
    QTest::newRow("P7 into its own box") << 7 << QByteArray("P7 30:") << " 30";
}

void TestExchange::singleRead()
{
    QFETCH(int, n);
    QFETCH(QByteArray, reply);
    QFETCH(QString, box);
    TerminalFixture fx;
    fx.load();
    fx.form().row(n).current->setText("old");
    fx.device().setResponder([&](const QByteArray &) { return reply; });

    fx.run([&] { fx.terminal().reads().singleRead(n); });

    QCOMPARE(fx.form().row(n).current->text(), box);
    QCOMPARE(fx.device().written(), QByteArray("P") + QByteArray::number(n) + "\r");
}

void TestExchange::readResendsUntilItCanCut()
{
    TerminalFixture fx;
    fx.load();
    QList<QByteArray> replies = {"\r\n", "OK", "P2 40:"};
    fx.device().setResponder([&](const QByteArray &) { return replies.takeFirst(); });

    fx.run([&] { fx.terminal().reads().singleRead(2); });

    QCOMPARE(fx.device().written(), QByteArray("P2\rP2\rP2\r"));
    QCOMPARE(fx.form().Text3->text(), QStringLiteral(" 40"));
    QVERIFY(fx.terminal().link().problem().isEmpty());
}

void TestExchange::endlessGarbageEndsTheRead()
{
    TerminalFixture fx;
    fx.load();
    fx.device().setResponder([](const QByteArray &) { return QByteArray("\r\n"); });

    fx.run([&] {
        fx.terminal().reads().singleRead(0);
        fx.terminal().link().send("never\r");
    });

    QCOMPARE(fx.device().lines().size(), SerialLink::kMaxReadAttempts);
    QVERIFY(fx.form().portPanel()->text().endsWith(
        QStringLiteral(" - a mikrokontroller válasza értelmezhetetlen")));
}

void TestExchange::unreadRepliesFrontTheNextRead()
{
    TerminalFixture fx;
    fx.load();
    fx.device().setResponder([](const QByteArray &line) -> QByteArray {
        if (line == "m3")
            return "m3 ok\r\n"; // a reply nobody reads, with a blank in it
        return line + " 55:";
    });

    fx.run([&] {
        SerialLink &link = fx.terminal().link();
        link.send("m3\r");
        link.waitForInput();
        fx.terminal().reads().singleRead(5);
    });

    // The cut runs from the first blank of the whole text to its first colon.
    QCOMPARE(fx.form().Text6->text(), QStringLiteral(" ok\r\nP5 55"));
}

void TestExchange::settleDelayCountsItsSteps_data()
{
    QTest::addColumn<int>("v");
    QTest::addColumn<int>("updates");
    QTest::newRow("V = 5000") << 5000 << 9999;
    QTest::newRow("V = 1000") << 1000 << 1999;
}

void TestExchange::settleDelayCountsItsSteps()
{
    QFETCH(int, v);
    QFETCH(int, updates);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    {
        QSignalBlocker block(f.HScroll12);
        f.HScroll12->setValue(v);
    }
    f.Timer1->setEnabled(true);
    QSignalSpy captions(f.Label22, &CaptionLabel::captionChanged);

    fx.terminal().delay().cmdIdotAd_Click();

    QCOMPARE(captions.count(), updates);
    QCOMPARE(f.Label22->caption(), QString::number(updates));
    QVERIFY(!f.Timer1->isEnabled());
}

void TestExchange::readTimeChangeShowsTheTime_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("caption");
    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    QTest::newRow("whole") << hu << 5000 << "Olvasás idő : 50";
    QTest::newRow("hu fraction") << hu << 5050 << "Olvasás idő : 50,5";
    QTest::newRow("C fraction") << QLocale::c() << 5050 << "Olvasás idő : 50.5";
}

void TestExchange::readTimeChangeShowsTheTime()
{
    QFETCH(QLocale, locale);
    QFETCH(int, v);
    QFETCH(QString, caption);
    QLocale::setDefault(locale);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    QSignalSpy captions(f.Label22, &CaptionLabel::captionChanged);
    f.HScroll12->setValue(v == 5000 ? 5100 : v); // a real change runs the handler
    if (v == 5000)
        f.HScroll12->setValue(5000);
    QCOMPARE(f.Label23->text(), caption);
    QVERIFY(captions.count() > 0); // the delay ran
}

void TestExchange::timeoutEndsTheWholeOperation()
{
    TerminalFixture fx(30);
    fx.load();
    fx.device().setResponder([](const QByteArray &line) -> QByteArray {
        return line == "P1" ? QByteArray() : line + " 1:"; // P1 gets no answer
    });
    fx.form().Text3->setText("untouched");

    fx.run([&] {
        ParameterReads &reads = fx.terminal().reads();
        reads.singleRead(0);
        reads.singleRead(1);
        reads.singleRead(2);
    });

    QCOMPARE(fx.device().written(), QByteArray("P0\rP1\r"));
    QCOMPARE(fx.form().Text3->text(), QStringLiteral("untouched"));
    QVERIFY(fx.form().portPanel()->text().endsWith(
        QStringLiteral(" - a mikrokontroller nem válaszol")));
    QCOMPARE(fx.form().mousePointer(), Form1::Pointer::Default);

    // The next operation talks again and, with an answer, clears the status.
    fx.run([&] { fx.terminal().reads().singleRead(2); });
    QCOMPARE(fx.form().Text3->text(), QStringLiteral(" 1"));
    QCOMPARE(fx.form().portPanel()->text(),
             QStringLiteral("Mikrokontroller COM Port beállítás : COM1,38400,N,8,1"));
}

void TestExchange::hiddenReadButtonStillWorksFromCode()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController({"1000"});
    QVERIFY(!fx.form().Command4->isVisibleTo(&fx.form()));
    fx.form().Command4->click();
    QCOMPARE(fx.form().Text1->text(), QStringLiteral(" 1000"));
}

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
