// Every place that takes a value from an owned line takes it from the
// answer to its own request only: the tuner's read-back and test writes,
// its readings, and the capture's read-back. An answer of another request
// (a poll's left on its way, another parameter's) is skipped and counted,
// never cut into a value.

#include "core/tuningaxis.h"
#include "link/linkerror.h"
#include "link/seriallink.h"
#include "operations/linktuningaxis.h"
#include "operations/stepcapture.h"
#include "scriptedopener.h"

#include <QTest>

using namespace kdx;

namespace {

const ParamNumbers kHeld{1000, 50, 200, 10, 200, 100, 1024, 30};

// A sound controller behind a line that first delivers `stale`, then, for
// the request `strayFor`, answers with `stray` instead of its own answer
// once (or always).
struct Line {
    Line(const QByteArray &stale, const QByteArray &strayFor, const QByteArray &stray, bool always)
        : link(opener)
    {
        link.setReplyTimeout(300);
        link.setReconnectInterval(0);
        link.openAtStartup();
        ScriptedDevice &device = opener.scripted();
        device.deliver(stale);
        device.setResponder([=, this](const QByteArray &line) -> QByteArray {
            const int open = std::exchange(prompt, -1);
            if (!strayFor.isEmpty() && line == strayFor && (always || !strayed)) {
                strayed = true;
                return stray;
            }
            if (line.size() == 2 && line[0] == 'P' && line[1] >= '0' && line[1] <= '7') {
                prompt = line[1] - '0';
                return line + ' ' + QByteArray::number(held[prompt]) + ':';
            }
            if (line == "P9")
                return "P9 7:";
            if (open >= 0 && !line.isEmpty())
                held[open] = line.toInt();
            return "\r\n";
        });
    }
    ScriptedOpener opener;
    SerialLink link;
    ParamNumbers held = kHeld;
    int prompt = -1;
    bool strayed = false;
};

using Take = std::function<QList<int>(SerialLink &)>;

} // namespace

Q_DECLARE_METATYPE(Take)

class TestAnswerBelongs : public QObject {
    Q_OBJECT
private slots:
    void valueComesFromItsOwnAnswer_data();
    void valueComesFromItsOwnAnswer();
};

void TestAnswerBelongs::valueComesFromItsOwnAnswer_data()
{
    QTest::addColumn<Take>("take");
    QTest::addColumn<QByteArray>("stale");    // left on the line before
    QTest::addColumn<QByteArray>("strayFor"); // the request answered wrongly
    QTest::addColumn<QByteArray>("stray");
    QTest::addColumn<QList<int>>("expected");

    const Take tunerReadBack = [](SerialLink &link) {
        LinkTuningAxis axis(link, [] { return false; });
        const ParamNumbers p = axis.readBack();
        return QList<int>(p.begin(), p.end());
    };
    const Take tunerTestWrite = [](SerialLink &link) {
        LinkTuningAxis axis(link, [] { return false; });
        axis.testWrite(2, 300);
        return QList<int>{axis.readBack()[2]};
    };
    const Take tunerReading = [](SerialLink &link) {
        LinkTuningAxis axis(link, [] { return false; });
        const StepRecord r = axis.rest(0);
        return QList<int>{int(r.error.size())};
    };
    const Take captureReadBack = [](SerialLink &link) {
        StepCapture capture(link);
        const std::array<int, 8> p = capture.readParameters();
        return QList<int>(p.begin(), p.end());
    };
    const QList<int> held(kHeld.begin(), kHeld.end());

    QTest::newRow("tuner read-back: a poll's answer on its way")
        << tunerReadBack << QByteArray("P9 0:") << QByteArray() << QByteArray() << held;
    QTest::newRow("tuner read-back: P0 answered by another parameter")
        << tunerReadBack << QByteArray() << QByteArray("P0") << QByteArray("P7 30:\r\nP0 1000:")
        << held;
    QTest::newRow("tuner test write: a poll's answer before the prompt")
        << tunerTestWrite << QByteArray("P9 0:") << QByteArray() << QByteArray() << QList<int>{300};
    QTest::newRow("tuner reading: a read's answer is no reading")
        << tunerReading << QByteArray("P2 200:") << QByteArray() << QByteArray() << QList<int>{1};
    QTest::newRow("capture read-back: a poll's answer on its way")
        << captureReadBack << QByteArray("P9 0:") << QByteArray() << QByteArray() << held;
    QTest::newRow("tuner read-back: only answers of others")
        << tunerReadBack << QByteArray() << QByteArray("P0") << QByteArray("P9 0:") << QList<int>{};
    QTest::newRow("capture read-back: only answers of others")
        << captureReadBack << QByteArray() << QByteArray("P0") << QByteArray("P9 0:")
        << QList<int>{};
}

void TestAnswerBelongs::valueComesFromItsOwnAnswer()
{
    QFETCH(Take, take);
    QFETCH(QByteArray, stale);
    QFETCH(QByteArray, strayFor);
    QFETCH(QByteArray, stray);
    QFETCH(QList<int>, expected);
    const bool always = expected.isEmpty();
    Line line(stale, strayFor, stray, always);

    QList<int> got;
    try {
        got = take(line.link);
    } catch (const AxisFailure &) {
    } catch (const LinkError &) {
    }
    // Nothing but the answer to its own request ever became a value.
    QCOMPARE(got, expected);
    QVERIFY(line.link.counters().uncut >= 1);
}

QTEST_MAIN(TestAnswerBelongs)
#include "tst_answerbelongs.moc"
