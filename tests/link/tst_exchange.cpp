#include "link/seriallink.h"
#include "operations/parameterreads.h"
#include "operations/settledelay.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
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
    void readOne_data();
    void readOne();
    void readResendsUntilItCanCut();
    void endlessGarbageEndsTheRead();
    void unreadRepliesFrontTheNextRead();
    void foreignAnswerNeverBecomesAValue_data();
    void foreignAnswerNeverBecomesAValue();
    void settleDelayFollowsTheReadTime_data();
    void settleDelayFollowsTheReadTime();
    void timeoutEndsTheWholeOperation();
    void hiddenReadButtonStillWorksFromCode();
};

void TestExchange::readOne_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("box");

    QTest::newRow("value keeps its leading blank") << 0 << QByteArray("P0 1234:") << " 1234";
    QTest::newRow("colon first leaves the box empty") << 0 << QByteArray(":P0 1234") << "";
    QTest::newRow("another answer in front of its own")
        << 2 << QByteArray("P9 0:\r\nP2 200:") << " 200";
    QTest::newRow("P7 into its own box") << 7 << QByteArray("P7 30:") << " 30";
}

void TestExchange::readOne()
{
    QFETCH(int, n);
    QFETCH(QByteArray, reply);
    QFETCH(QString, box);
    TerminalFixture fx;
    fx.load();
    fx.form().row(n).current->setText("old");
    fx.device().setResponder([&](const QByteArray &) { return reply; });

    fx.run([&] { fx.terminal().reads().readOne(n); });

    QCOMPARE(fx.form().row(n).current->text(), box);
    QCOMPARE(fx.device().written(), QByteArray("P") + QByteArray::number(n) + "\r");
}

void TestExchange::readResendsUntilItCanCut()
{
    TerminalFixture fx;
    fx.load();
    QList<QByteArray> replies = {"\r\n", "OK", "P2 40:"};
    fx.device().setResponder([&](const QByteArray &) { return replies.takeFirst(); });

    fx.run([&] { fx.terminal().reads().readOne(2); });

    QCOMPARE(fx.device().written(), QByteArray("P2\rP2\rP2\r"));
    QCOMPARE(fx.form().row(2).current->text(), QStringLiteral(" 40"));
    QVERIFY(fx.terminal().link().problem().isEmpty());
}

void TestExchange::endlessGarbageEndsTheRead()
{
    TerminalFixture fx;
    fx.load();
    fx.device().setResponder([](const QByteArray &) { return QByteArray("\r\n"); });

    fx.run([&] {
        fx.terminal().reads().readOne(0);
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
        fx.terminal().reads().readOne(5);
    });

    // What came in front of the answer to "P5" is not its value.
    QCOMPARE(fx.form().row(5).current->text(), QStringLiteral(" 55"));
}

void TestExchange::foreignAnswerNeverBecomesAValue_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<QString>("box"); // empty: the read gives up
    QTest::newRow("the poll's answer, twice") << QList<QByteArray>{"P9 0:", "P9 0:"} << "";
    QTest::newRow("another parameter's answer, twice")
        << QList<QByteArray>{"P1 50:", "P1 50:"} << "";
    QTest::newRow("a bare number, twice") << QList<QByteArray>{" 77", "250 "} << "";
    QTest::newRow("the poll's answer, then its own")
        << QList<QByteArray>{"P9 0:", "P0 1000:"} << " 1000";
}

void TestExchange::foreignAnswerNeverBecomesAValue()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(QString, box);
    TerminalFixture fx;
    fx.load();
    fx.device().setResponder([&](const QByteArray &) { return replies.takeFirst(); });

    fx.run([&] { fx.terminal().reads().readOne(0); });

    QCOMPARE(fx.form().row(0).current->text(), box);
    QCOMPARE(fx.device().written(), QByteArray("P0\rP0\r"));
    QCOMPARE(fx.terminal().link().counters().uncut, box.isEmpty() ? 2u : 1u);
    QCOMPARE(fx.terminal().link().problem().isEmpty(), !box.isEmpty());
}

void TestExchange::settleDelayFollowsTheReadTime_data()
{
    QTest::addColumn<int>("v");
    QTest::addColumn<qint64>("lengthNs");
    // 2×V−1 steps of 5 µs.
    QTest::newRow("V = 5000") << 5000 << qint64(9999) * 5000;
    QTest::newRow("V = 1000") << 1000 << qint64(1999) * 5000;
}

void TestExchange::settleDelayFollowsTheReadTime()
{
    QFETCH(int, v);
    QFETCH(qint64, lengthNs);
    TerminalFixture fx;
    fx.load();
    SettleDelay delay(fx.pollTimer());
    delay.setReadTime(v);
    QCOMPARE(qint64(delay.length().count()), lengthNs);

    fx.pollTimer().setEnabled(true);
    delay.setStepDuration(std::chrono::nanoseconds(0));
    delay.settle();
    QVERIFY(!fx.pollTimer().isEnabled());
}

void TestExchange::timeoutEndsTheWholeOperation()
{
    TerminalFixture fx(30);
    fx.load();
    fx.device().setResponder([](const QByteArray &line) -> QByteArray {
        return line == "P1" ? QByteArray() : line + " 1:"; // P1 gets no answer
    });
    fx.form().row(2).current->setText("untouched");

    fx.run([&] {
        ParameterReads &reads = fx.terminal().reads();
        reads.readOne(0);
        reads.readOne(1);
        reads.readOne(2);
    });

    QCOMPARE(fx.device().written(), QByteArray("P0\rP1\r"));
    QCOMPARE(fx.form().row(2).current->text(), QStringLiteral("untouched"));
    QVERIFY(fx.form().portPanel()->text().endsWith(
        QStringLiteral(" - a mikrokontroller nem válaszol")));
    QCOMPARE(fx.form().mousePointer(), Form1::Pointer::Default);

    // The next operation talks again and, with an answer, clears the status.
    fx.run([&] { fx.terminal().reads().readOne(2); });
    QCOMPARE(fx.form().row(2).current->text(), QStringLiteral(" 1"));
    QCOMPARE(fx.form().portPanel()->text(),
             QStringLiteral("Mikrokontroller COM Port beállítás : COM1,38400,N,8,1"));
}

void TestExchange::hiddenReadButtonStillWorksFromCode()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController({"1000"});
    QVERIFY(!fx.form().row(0).read->isVisibleTo(&fx.form()));
    fx.form().row(0).read->click();
    QCOMPARE(fx.form().row(0).current->text(), QStringLiteral(" 1000"));
}

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
