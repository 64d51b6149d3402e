#include "core/commands.h"
#include "core/replycut.h"

#include <QTest>

using namespace kdx;

class TestWireFormat : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void parameterCut_data();
    void parameterCut();
    void positionCut_data();
    void positionCut();
    void replyTextKeepsPositions();
    void answerBelongsToItsRequest_data();
    void answerBelongsToItsRequest();
};

void TestWireFormat::commands_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("read P0") << cmd::readParameter(0) << QByteArray("P0\r");
    QTest::newRow("read P7") << cmd::readParameter(7) << QByteArray("P7\r");
    QTest::newRow("poll") << cmd::positionPoll() << QByteArray("P9\r");
    QTest::newRow("bare return") << cmd::bareReturn() << QByteArray("\r");
    QTest::newRow("test value") << cmd::newValue("1000") << QByteArray("1000\r");
    QTest::newRow("save value in one piece") << cmd::saveValue("120") << QByteArray("120\rW 0\r");
    QTest::newRow("voltage run") << cmd::voltageRun() << QByteArray("m1\r");
    QTest::newRow("PID run") << cmd::pidRun() << QByteArray("m2\r");
    QTest::newRow("step mode") << cmd::stepMode() << QByteArray("m3\r");
    QTest::newRow("speed 20") << cmd::speed("20") << QByteArray("S20\r");
    QTest::newRow("speed 0 is the stop") << cmd::speed("0") << cmd::stop();
    QTest::newRow("step minus") << cmd::step('-', "2000") << QByteArray("-2000\r");
    QTest::newRow("step plus") << cmd::step('+', "2000") << QByteArray("+2000\r");
}

void TestWireFormat::commands()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QCOMPARE(bytes, expected);
    QVERIFY(!bytes.contains('\n'));
}

void TestWireFormat::parameterCut_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("resend");
    QTest::addColumn<QString>("value");

    QTest::newRow("normal reply keeps the blank") << "P0 1234:" << false << " 1234";
    QTest::newRow("blank at 3, colon at 7") << "P1 250:" << false << " 250";
    QTest::newRow("colon first") << ":P0 1234" << false << "";
    QTest::newRow("colon, no blank") << "P0:1234" << false << "";
    QTest::newRow("blank, no colon, not a number") << "P0 1234" << false << "";
    QTest::newRow("blank and number, no colon") << " 77" << false << "77";
    QTest::newRow("number with trailing blank") << "250 " << false << "250";
    QTest::newRow("fractional number rounded down") << " 12,7" << false << "12";
    QTest::newRow("negative number rounded down") << " -12,7" << false << "-13";
    QTest::newRow("CR LF only") << "\r\n" << true << "";
    QTest::newRow("letters only") << "OK" << true << "";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("earlier acknowledgements in front") << "\r\n\r\nP2 40:" << false << " 40";
    QTest::newRow("earlier reply with blank decides")
        << "m3 ok\r\nP2 40:" << false << " ok\r\nP2 40";
    QTest::newRow("value after a prompt echo") << "P3 10:\r\nP3 1000:" << false << " 10";
}

void TestWireFormat::parameterCut()
{
    QFETCH(QString, reply);
    QFETCH(bool, resend);
    QFETCH(QString, value);
    const ParameterCut cut = cutParameterReply(reply, QChar(u','));
    QCOMPARE(cut.resend, resend);
    QCOMPARE(cut.value, value);
}

void TestWireFormat::positionCut_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("has");
    QTest::addColumn<int>("value");

    QTest::newRow("negative") << "P9 -12:" << true << -12;
    QTest::newRow("colon at seventh: characters 3 to 6") << "P9 123:" << true << 123;
    QTest::newRow("zero") << "P9 0:" << true << 0;
    QTest::newRow("colon at fourth") << "P95:" << true << 5;
    QTest::newRow("colon at third") << "P9:" << false << 0;
    QTest::newRow("colon first") << ":P9 5" << false << 0;
    QTest::newRow("no colon") << "P9 5" << false << 0;
    QTest::newRow("not a number") << "P9 abc:" << false << 0;
    QTest::newRow("out of range") << "P9 40000:" << false << 0;
    QTest::newRow("lowest") << "P9 -32768:" << true << -32768;
    QTest::newRow("fraction to even") << "P9 2,5:" << true << 2;
    QTest::newRow("acknowledgement in front breaks the cut") << "\r\nP9 5:" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
}

void TestWireFormat::positionCut()
{
    QFETCH(QString, reply);
    QFETCH(bool, has);
    QFETCH(int, value);
    const auto cut = cutPositionReply(reply, QChar(u','));
    QCOMPARE(cut.has_value(), has);
    if (has)
        QCOMPARE(int(*cut), value);
}

void TestWireFormat::replyTextKeepsPositions()
{
    const QByteArray bytes("\xE9\xFF P0 1:", 8);
    const QString text = replyText(bytes);
    QCOMPARE(text.size(), bytes.size());
    QCOMPARE(text.indexOf(u':'), bytes.indexOf(':'));
}

void TestWireFormat::answerBelongsToItsRequest_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("n");        // 9: the poll
    QTest::addColumn<QString>("kind"); // value, resend, foreign
    QTest::addColumn<QString>("value");

    QTest::newRow("its own answer") << "P0 1000:" << 0 << "value"
                                    << " 1000";
    QTest::newRow("the poll's answer is not P0's") << "P9 0:" << 0 << "foreign"
                                                   << "";
    QTest::newRow("the poll's answer in front") << "P9 0:P0 1000:" << 0 << "value"
                                                << " 1000";
    QTest::newRow("another parameter's answer") << "P2 200:" << 3 << "foreign"
                                                << "";
    QTest::newRow("P1 is not P10's prefix") << "P1 50:" << 1 << "value"
                                            << " 50";
    QTest::newRow("acknowledgements in front") << "\r\n\r\nP2 40:" << 2 << "value"
                                               << " 40";
    QTest::newRow("a bare number is no answer") << " 77" << 3 << "foreign"
                                                << "";
    QTest::newRow("neither blank nor colon") << "\r\n"
                                             << 3 << "resend"
                                             << "";
    QTest::newRow("the newest of two answers") << "P3 10:\r\nP3 1000:" << 3 << "value"
                                               << " 1000";
    QTest::newRow("a whole answer before a piece of the next") << "P3 10:P3 1" << 3 << "value"
                                                               << " 10";
    QTest::newRow("its word without a colon yet") << "P3 10" << 3 << "value"
                                                  << "";
    QTest::newRow("echo in front") << "P4\rP4 200:" << 4 << "value"
                                   << " 200";
    QTest::newRow("poll: its own") << "P9 -12:" << 9 << "value"
                                   << "-12";
    QTest::newRow("poll: a read's answer is no reading") << "P0 1000:" << 9 << "foreign"
                                                         << "";
    QTest::newRow("poll: acknowledgement in front") << "\r\nP9 5:" << 9 << "value"
                                                    << "5";
    QTest::newRow("poll: the newest reading") << "P9 3:P9 8:" << 9 << "value"
                                              << "8";
    QTest::newRow("poll: a read's answer after its own") << "P9 3:P2 200:" << 9 << "value"
                                                         << "3";
    QTest::newRow("poll: no blank after its word") << "P95:" << 9 << "foreign"
                                                   << "";
}

void TestWireFormat::answerBelongsToItsRequest()
{
    QFETCH(QString, reply);
    QFETCH(int, n);
    QFETCH(QString, kind);
    QFETCH(QString, value);
    if (n == 9) {
        const auto cut = cutPositionAnswer(reply, QChar(u','));
        QCOMPARE(cut.has_value(), kind == QLatin1String("value"));
        if (cut)
            QCOMPARE(QString::number(*cut), value);
        return;
    }
    const ParameterAnswer answer = cutParameterAnswer(reply, n, QChar(u','));
    const char *const kinds[] = {"value", "resend", "foreign"};
    QCOMPARE(QLatin1String(kinds[int(answer.kind)]), kind);
    QCOMPARE(answer.value, value);
}

QTEST_APPLESS_MAIN(TestWireFormat)
#include "tst_wireformat.moc"
