// The pure parts under the step capture and the live scope: cutting the
// controller's answers out of the byte stream, and thinning readings to the
// screen's columns.

#include "core/answersplitter.h"
#include "core/readingbuffer.h"
#include "core/scopemath.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kdx;

Q_DECLARE_METATYPE(std::vector<QByteArray>)

class TestCaptureParts : public QObject {
    Q_OBJECT
private slots:
    void answersFromPieces_data();
    void answersFromPieces();
    void endlessNoiseStaysBounded();
    void thinningKeepsWhatTheEyeSees_data();
    void thinningKeepsWhatTheEyeSees();
    void lineLimit();
};

void TestCaptureParts::answersFromPieces_data()
{
    QTest::addColumn<std::vector<QByteArray>>("pieces");
    QTest::addColumn<QStringList>("kinds");    // V value, A ack, R refused
    QTest::addColumn<QList<int>>("positions"); // -99999: no position value

    QTest::newRow("one reply") << std::vector<QByteArray>{"P9 -12:"} << QStringList{"V"}
                               << QList<int>{-12};
    QTest::newRow("split anywhere")
        << std::vector<QByteArray>{"P", "9 ", "1", "5:\r", "\n?\r", "\nP9 3:"}
        << QStringList{"V", "A", "R", "V"} << QList<int>{15, -99999, -99999, 3};
    QTest::newRow("several at once")
        << std::vector<QByteArray>{"\r\n\r\nP9 7:P9 -8:"} << QStringList{"A", "A", "V", "V"}
        << QList<int>{-99999, -99999, 7, -8};
    QTest::newRow("echo in front")
        << std::vector<QByteArray>{"P9\rP9 40:"} << QStringList{"V"} << QList<int>{40};
    QTest::newRow("prompt is no position")
        << std::vector<QByteArray>{"P3 10:"} << QStringList{"V"} << QList<int>{-99999};
    QTest::newRow("out of range") << std::vector<QByteArray>{"P9 40000:"} << QStringList{"V"}
                                  << QList<int>{-99999};
    QTest::newRow("no digits") << std::vector<QByteArray>{"P9 :", "P9 x:"} << QStringList{"V", "V"}
                               << QList<int>{-99999, -99999};
    QTest::newRow("unfinished") << std::vector<QByteArray>{"P9 1"} << QStringList{} << QList<int>{};
}

void TestCaptureParts::answersFromPieces()
{
    QFETCH(std::vector<QByteArray>, pieces);
    QFETCH(QStringList, kinds);
    QFETCH(QList<int>, positions);
    AnswerSplitter splitter;
    std::vector<Answer> answers;
    for (const QByteArray &piece : pieces) {
        splitter.feed(piece);
        while (auto a = splitter.next())
            answers.push_back(*a);
    }
    QCOMPARE(int(answers.size()), kinds.size());
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const Answer &a = answers[i];
        const QString kind = a.kind == Answer::Kind::Value ? "V"
                             : a.kind == Answer::Kind::Ack ? "A"
                                                           : "R";
        QCOMPARE(kind, kinds[int(i)]);
        const auto p = positionValue(a.text);
        QCOMPARE(p ? int(*p) : -99999, positions[int(i)]);
    }
}

void TestCaptureParts::endlessNoiseStaysBounded()
{
    AnswerSplitter splitter;
    for (int i = 0; i < 10000; ++i)
        splitter.feed("xxxxxxxxxx");
    QVERIFY(!splitter.next());
    QVERIFY(splitter.pending() <= AnswerSplitter::kMaxPending);
    // An answer after the noise still comes through, with the noise in front.
    splitter.feed("P9 5:");
    const auto a = splitter.next();
    QVERIFY(a);
    QCOMPARE(positionValue(a->text), std::optional<qint16>(5));
    QCOMPARE(parameterValue("P2 200:", 2), std::optional<int>(200));
    QCOMPARE(parameterValue("P2 200:", 3), std::nullopt);
}

void TestCaptureParts::thinningKeepsWhatTheEyeSees_data()
{
    QTest::addColumn<int>("readings");
    QTest::addColumn<int>("columns");
    QTest::newRow("many readings a column") << 20000 << 300;
    QTest::newRow("fewer readings than columns") << 50 << 300;
    QTest::newRow("one column") << 1000 << 1;
}

void TestCaptureParts::thinningKeepsWhatTheEyeSees()
{
    QFETCH(int, readings);
    QFETCH(int, columns);
    // A noisy swing with one sharp spike, a reading every 0.5 ms.
    ReadingBuffer buffer(1 << 16);
    const qint64 origin = 1'000'000'000;
    for (int i = 0; i < readings; ++i) {
        const double v = 400 * std::sin(i / 500.0) + (i % 7) - 3 + (i == readings / 3 ? 900 : 0);
        buffer.push({origin + qint64(i) * 500'000, qint16(std::lround(v))});
    }
    const qint64 t0 = origin, t1 = origin + qint64(readings) * 500'000;
    const std::vector<QPointF> points = decimatedReadings(buffer, origin, t0, t1, columns);

    QVERIFY(int(points.size()) <= 4 * columns);
    QVERIFY(std::is_sorted(points.begin(), points.end(),
                           [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); }));
    // The extremes of the whole and of every column survive.
    double lo = 1e9, hi = -1e9;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        lo = std::min<double>(lo, buffer.at(i).raw);
        hi = std::max<double>(hi, buffer.at(i).raw);
    }
    const auto [minIt, maxIt] =
        std::minmax_element(points.begin(), points.end(),
                            [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
    QCOMPARE(minIt->y(), lo);
    QCOMPARE(maxIt->y(), hi);
    // The first and the last reading stay where they were.
    QCOMPARE(points.front().x(), 0.0);
    QCOMPARE(points.back().x(), double(readings - 1) * 0.5);
    if (readings <= columns)
        QCOMPARE(int(points.size()), readings);
}

void TestCaptureParts::lineLimit()
{
    // "P9" CR out and "P9 -123:" back: 11 bytes of 10 bits at 38400 baud.
    QCOMPARE(lineLimitHz(3, 8), 38400.0 / 10 / 11);
    QCOMPARE(lineLimitHz(0, 0), 0.0);
    ReadingBuffer buffer;
    for (int i = 0; i < 100; ++i)
        buffer.push({qint64(i) * 10'000'000, 1}); // every 10 ms for a second
    QCOMPARE(sampleRateHz(buffer, 990'000'000, 1'000'000'000), 100.0);
    QCOMPARE(sampleRateHz(buffer, 990'000'000, 500'000'000), 100.0);
}

QTEST_MAIN(TestCaptureParts)
#include "tst_captureparts.moc"
