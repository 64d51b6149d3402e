// The step capture on a scripted line: the exact bytes it puts on the wire,
// how it reads the answers, and what it keeps when the line fails.

#include "link/linkerror.h"
#include "link/seriallink.h"
#include "operations/stepcapture.h"
#include "scriptedopener.h"

#include <QTest>
#include <QTimer>

using namespace kdx;

namespace {

const std::array<int, 8> kParams{1000, 50, 200, 10, 200, 100, 512, 30};
constexpr int kZeroRaw = 100;
// Lines before the first poll of the window: eight reads each closed with a
// bare return, step mode, the zero reading, the step and its bare return.
constexpr int kPreambleLines = 20;

enum class Fault {
    None,
    SilentAfter40Lines,
    StepRefused,
    UncutAfterStep,
    PollRefusedAfterStep,
    EndlessAfterStep
};

// A controller answering from a script: raw readings 100, 101, 102, ...
struct Controller {
    explicit Controller(Fault fault) : fault(fault) {}
    QByteArray answer(const QByteArray &line)
    {
        ++lines;
        if (fault == Fault::SilentAfter40Lines && lines > 40)
            return {};
        if (line.size() == 2 && line[0] == 'P' && line[1] >= '0' && line[1] <= '7') {
            const int n = line[1] - '0';
            return line + ' ' + QByteArray::number(kParams[std::size_t(n)]) + ':';
        }
        if (line == "P9") {
            if (stepped && fault == Fault::UncutAfterStep)
                return "P9 x:";
            if (stepped && fault == Fault::PollRefusedAfterStep)
                return "?\r\n";
            if (stepped && fault == Fault::EndlessAfterStep)
                return "P9 12";
            return "P9 " + QByteArray::number(kZeroRaw + polls++) + ':';
        }
        if (line.startsWith('+') || line.startsWith('-')) {
            stepped = true;
            if (fault == Fault::StepRefused)
                return "?\r\n";
        }
        return "\r\n";
    }
    Fault fault;
    int lines = 0;
    int polls = 0;
    bool stepped = false;
};

struct Line {
    explicit Line(Fault fault) : controller(fault), link(opener)
    {
        link.setReplyTimeout(100);
        link.setReconnectInterval(0);
        opener.scripted().setResponder(
            [this](const QByteArray &line) { return controller.answer(line); });
        link.openAtStartup();
    }
    Controller controller;
    ScriptedOpener opener;
    SerialLink link;
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestStepCapture : public QObject {
    Q_OBJECT
private slots:
    void soundLine();
    void badLine_data();
    void badLine();
    void answersSplitAcrossReads();
};

void TestStepCapture::soundLine()
{
    Line line(Fault::None);
    StepCapture capture(line.link);
    const Capture c = capture.run(-400, 20);
    const StepRecord &r = c.record;
    QVERIFY(r.complete);
    QCOMPARE(c.params, kParams);
    QVERIFY(c.paramsKnown);
    QCOMPARE(c.steps, -400);
    QCOMPARE(r.stepCounts, -200.0); // P6 = 512: half a count a step
    QCOMPARE(r.moveEndMs, 400 * 16.0 / 1000);
    QCOMPARE(r.windowMs, 20.0);
    QVERIFY(c.label.contains(QStringLiteral("P2=200 P3=10 P7=30 -400")));

    // Every answered poll is one reading, zeroed on the reading before the step.
    QCOMPARE(int(r.tMs.size()), line.controller.polls - 1);
    for (std::size_t i = 0; i < r.error.size(); ++i)
        QCOMPARE(r.error[i], double(i + 1));
    QVERIFY(std::is_sorted(r.tMs.begin(), r.tMs.end()));

    QByteArray preamble;
    for (int n = 0; n < 8; ++n)
        preamble += "P" + QByteArray::number(n) + "\r\r";
    preamble += "m3\rP9\r-400\r\r";
    const QByteArray wire = line.opener.scripted().written();
    QVERIFY(wire.startsWith(preamble));
    QCOMPARE(wire.mid(preamble.size()), QByteArray("P9\r").repeated(int(r.tMs.size())));
    QCOMPARE(line.link.counters().uncut, 0u);
}

void TestStepCapture::badLine_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("throws");
    QTest::addColumn<int>("readings"); // -1: not fixed
    QTest::addColumn<QString>("problem");

    QTest::newRow("silent mid-window") << Fault::SilentAfter40Lines << true << 40 - kPreambleLines
                                       << QStringLiteral("a mikrokontroller nem válaszol");
    QTest::newRow("step refused") << Fault::StepRefused << false << -1 << QString();
    QTest::newRow("answers that cannot be cut") << Fault::UncutAfterStep << false << 0 << QString();
    QTest::newRow("polls refused") << Fault::PollRefusedAfterStep << false << 0 << QString();
    QTest::newRow("answers that never end")
        << Fault::EndlessAfterStep << true << 0
        << QStringLiteral("a mikrokontroller válasza értelmezhetetlen");
}

void TestStepCapture::badLine()
{
    QFETCH(Fault, fault);
    QFETCH(bool, throws);
    QFETCH(int, readings);
    QFETCH(QString, problem);
    Line line(fault);
    StepCapture capture(line.link);
    bool threw = false;
    try {
        capture.run(400, 20);
    } catch (const LinkError &) {
        threw = true;
    }
    QCOMPARE(threw, throws);
    QVERIFY(!capture.isRunning());
    // What came in is kept, marked incomplete, with its parameters.
    const Capture &c = capture.last();
    QVERIFY(!c.record.complete);
    QCOMPARE(c.params, kParams);
    QCOMPARE(c.record.tMs.size(), c.record.error.size());
    if (readings >= 0)
        QCOMPARE(int(c.record.tMs.size()), readings);
    QCOMPARE(capture.stepRefused(), fault == Fault::StepRefused);
    if (fault == Fault::StepRefused)
        QVERIFY(c.record.tMs.size() <= StepCapture::kDefaultPollsInFlight);
    if (fault == Fault::UncutAfterStep || fault == Fault::PollRefusedAfterStep)
        QVERIFY(line.link.counters().uncut > 0);
    QCOMPARE(line.link.problem(), problem);
    QCOMPARE(line.link.counters().timeouts, fault == Fault::SilentAfter40Lines ? 1u : 0u);
}

void TestStepCapture::answersSplitAcrossReads()
{
    // Answers come in pieces and several at once; an answer left over from
    // an earlier command comes first. Each reading is still cut whole.
    ScriptedOpener opener;
    SerialLink link(opener);
    link.setReplyTimeout(1000);
    link.setReconnectInterval(0);
    link.openAtStartup();
    ScriptedDevice &device = opener.scripted();
    device.deliver("\r\nP9 5:"); // unread from before
    int polls = 0;
    device.setResponder([&](const QByteArray &line) -> QByteArray {
        if (line.startsWith('P') && line != "P9")
            return line + " 7:";
        if (line != "P9")
            return "\r\n";
        ++polls;
        // Each poll's answer arrives later, in two pieces.
        const QByteArray answer = "P9 -" + QByteArray::number(polls) + ':';
        QTimer::singleShot(0, &device, [&device, answer] { device.deliver(answer.left(3)); });
        QTimer::singleShot(0, &device, [&device, answer] { device.deliver(answer.mid(3)); });
        return {};
    });
    StepCapture capture(link);
    const Capture c = capture.run(10, 15);
    QVERIFY(c.record.complete);
    QCOMPARE(c.params[6], 7);
    QVERIFY(!c.record.error.empty());
    // The zero reading was the first poll's (-1), not the stale 5.
    for (std::size_t i = 0; i < c.record.error.size(); ++i)
        QCOMPARE(c.record.error[i], -double(i + 2) + 1);
    // The stale reading was an answer to no request of the capture's.
    QCOMPARE(link.counters().uncut, 1u);
}

QTEST_MAIN(TestStepCapture)
#include "tst_stepcapture.moc"
