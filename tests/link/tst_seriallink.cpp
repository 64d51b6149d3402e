#include "link/seriallink.h"
#include "scriptedopener.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kdx;

namespace {

// Runs an operation and returns the kind of LinkError it ended with, if any.
std::optional<LinkError::Kind> failureOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const LinkError &e) {
        return e.kind();
    }
    return std::nullopt;
}

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
private slots:
    void unreadRepliesStayInFront();
    void waitEndsOnDelayedByte();
    void silentControllerEndsTheOperation();
    void failureEndsEveryLaterStepUntilReleased();
    void replyAfterSilenceClearsTheProblem();
    void garbledControllerIsReportedUntilUnderstood();
    void startupRetriesOtherFailuresOnce_data();
    void startupRetriesOtherFailuresOnce();
    void closedPortFailsAtOnce();
    void lostDeviceIsReportedOnceAndReconnects();
    void shutDownStopsAWaitingOperation();
};

void TestSerialLink::unreadRepliesStayInFront()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    QCOMPARE(link.openAtStartup().status, OpenResult::Status::Open);
    opener.scripted().setResponder([](const QByteArray &line) { return line + "\r\n"; });

    link.send("m3\r");
    link.waitForInput(); // a send-and-wait: nothing is read
    link.send("P0\r");
    link.waitForInput();
    QCOMPARE(link.takeAll(), QByteArray("m3\r\nP0\r\n"));
    QCOMPARE(link.waiting(), 0);
}

void TestSerialLink::waitEndsOnDelayedByte()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    link.openAtStartup();
    link.setReplyTimeout(5000);
    QTimer::singleShot(20, &opener.scripted(), [&] { opener.scripted().deliver("x"); });
    QVERIFY(!failureOf([&] { link.waitForInput(); }));
    QCOMPARE(link.takeAll(), QByteArray("x"));
}

void TestSerialLink::silentControllerEndsTheOperation()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    link.openAtStartup();
    link.setReplyTimeout(30);
    QSignalSpy problems(&link, &SerialLink::problemChanged);

    link.send("P0\r");
    QCOMPARE(failureOf([&] { link.waitForInput(); }), LinkError::Kind::NoReply);
    QCOMPARE(link.problem(), QStringLiteral("a mikrokontroller nem válaszol"));
    QCOMPARE(problems.count(), 1);
}

void TestSerialLink::failureEndsEveryLaterStepUntilReleased()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    link.openAtStartup();
    link.setReplyTimeout(20);
    QVERIFY(failureOf([&] { link.waitForInput(); }));

    // The rest of the same operation sends nothing.
    QCOMPARE(failureOf([&] { link.send("S0\r"); }), LinkError::Kind::Aborted);
    QCOMPARE(opener.scripted().written(), QByteArray());

    // The next operation may talk again, and the problem is still shown once.
    link.endOperation();
    QVERIFY(!failureOf([&] { link.send("S0\r"); }));
    QCOMPARE(opener.scripted().written(), QByteArray("S0\r"));
    QCOMPARE(failureOf([&] { link.waitForInput(); }), LinkError::Kind::NoReply);
    QCOMPARE(link.problem(), QStringLiteral("a mikrokontroller nem válaszol"));
}

void TestSerialLink::replyAfterSilenceClearsTheProblem()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    link.openAtStartup();
    link.setReplyTimeout(20);
    QVERIFY(failureOf([&] { link.waitForInput(); }));
    link.endOperation();

    opener.scripted().deliver("P9 1:");
    link.waitForInput();
    QVERIFY(link.problem().isEmpty());
}

void TestSerialLink::garbledControllerIsReportedUntilUnderstood()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    link.openAtStartup();
    QSignalSpy problems(&link, &SerialLink::problemChanged);
    opener.scripted().deliver("xx");
    QCOMPARE(failureOf([&] {
                 link.waitForInput();
                 link.takeAll();
                 link.fail(LinkError::Kind::Unintelligible);
             }),
             LinkError::Kind::Unintelligible);
    link.endOperation();

    // More bytes that make no sense: the report stands, unchanged.
    opener.scripted().deliver("yy");
    link.waitForInput();
    link.takeAll();
    QCOMPARE(link.problem(), QStringLiteral("a mikrokontroller válasza értelmezhetetlen"));
    QCOMPARE(problems.count(), 1);

    link.understood();
    QVERIFY(link.problem().isEmpty());
    QCOMPARE(problems.count(), 2);
}

void TestSerialLink::startupRetriesOtherFailuresOnce_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("attempts");
    QTest::newRow("first attempt works") << 0 << true << 1;
    QTest::newRow("second attempt works") << 1 << true << 2;
    QTest::newRow("both fail") << 2 << false << 2;
}

void TestSerialLink::startupRetriesOtherFailuresOnce()
{
    QFETCH(int, failures);
    QFETCH(bool, open);
    QFETCH(int, attempts);
    ScriptedOpener opener;
    for (int i = 0; i < failures; ++i)
        opener.outcomes.push_back(
            {OpenResult::Status::Failed, QStringLiteral("a port nem található")});
    SerialLink link(opener);
    link.setReconnectInterval(0);
    link.openAtStartup();
    QCOMPARE(link.isOpen(), open);
    QCOMPARE(opener.attempts, attempts);
    QCOMPARE(link.problem(), open ? QString() : QStringLiteral("a port nem található"));
}

void TestSerialLink::closedPortFailsAtOnce()
{
    ScriptedOpener opener;
    opener.outcomes = {{OpenResult::Status::Failed, "x"}, {OpenResult::Status::Failed, "x"}};
    SerialLink link(opener);
    link.setReconnectInterval(0);
    link.openAtStartup();
    QCOMPARE(failureOf([&] { link.send("P0\r"); }), LinkError::Kind::NotOpen);
    QCOMPARE(failureOf([&] { link.waitForInput(); }), LinkError::Kind::NotOpen);
    QCOMPARE(opener.scripted().written(), QByteArray());
}

void TestSerialLink::lostDeviceIsReportedOnceAndReconnects()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    link.setReconnectInterval(10);
    link.openAtStartup();
    link.setReplyTimeout(5000);
    QSignalSpy problems(&link, &SerialLink::problemChanged);
    QSignalSpy opened(&link, &SerialLink::openChanged);

    // The device goes away while an operation waits for its reply.
    opener.outcomes = {{OpenResult::Status::Failed, "x"}, {OpenResult::Status::Failed, "x"}};
    QTimer::singleShot(10, &opener.scripted(), [&] { opener.scripted().close(); });
    QCOMPARE(failureOf([&] { link.waitForInput(); }), LinkError::Kind::Aborted);
    QTRY_COMPARE(link.problem(), QStringLiteral("a kapcsolat megszakadt"));
    QVERIFY(!link.isOpen());
    link.endOperation();
    QCOMPARE(failureOf([&] { link.send("P0\r"); }), LinkError::Kind::NotOpen);

    // Two failed attempts, then the device is back.
    QTRY_VERIFY(link.isOpen());
    QCOMPARE(opener.attempts, 1 + 3);
    QVERIFY(link.problem().isEmpty());
    QCOMPARE(problems.count(), 2); // lost, then cleared
    QCOMPARE(opened.count(), 2);
    QVERIFY(!failureOf([&] { link.send("P0\r"); }));
}

void TestSerialLink::shutDownStopsAWaitingOperation()
{
    ScriptedOpener opener;
    SerialLink link(opener);
    link.openAtStartup();
    link.setReplyTimeout(60000);
    QTimer::singleShot(10, &link, [&] { link.shutDown(); });
    QCOMPARE(failureOf([&] { link.waitForInput(); }), LinkError::Kind::Aborted);
    link.endOperation();
    QCOMPARE(failureOf([&] { link.send("P0\r"); }), LinkError::Kind::Aborted);
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
