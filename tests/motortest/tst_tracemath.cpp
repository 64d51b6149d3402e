#include "core/tracemath.h"

#include <QLocale>
#include <QTest>

using namespace kdx;

class TestTraceMath : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void scaleFactor_data();
    void scaleFactor();
    void scaleText_data();
    void scaleText();
    void point_data();
    void point();
    void wraps_data();
    void wraps();
};

void TestTraceMath::scaleFactor_data()
{
    QTest::addColumn<QString>("scale");
    QTest::addColumn<int>("factor");
    QTest::newRow("50") << "50" << 40;
    QTest::newRow("100") << "100" << 20;
    QTest::newRow("200") << "200" << 10;
    QTest::newRow("500") << "500" << 4;
    QTest::newRow("1000") << "1000" << 2;
    QTest::newRow("2000") << "2000" << 1;
    QTest::newRow("unlisted number") << "75" << 0;
    QTest::newRow("listed value written otherwise") << " 50" << 0;
    QTest::newRow("trailing separator") << "500," << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestTraceMath::scaleFactor()
{
    QFETCH(QString, scale);
    QFETCH(int, factor);
    QCOMPARE(trace::scaleFactor(scale), factor);
    QCOMPARE(trace::isListedErrorScale(scale), factor != 0);
}

void TestTraceMath::scaleText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("usable");
    QTest::newRow("whole") << "30" << true;
    QTest::newRow("one") << "1" << true;
    QTest::newRow("blanks around") << " 40 " << true;
    QTest::newRow("trailing separator") << "40," << true;
    QTest::newRow("exponent") << "1e3" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("negative") << "-30" << false;
    QTest::newRow("fraction") << "2,5" << false;
    QTest::newRow("below one") << "0,5" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("number and letters") << "30x" << false;
}

void TestTraceMath::scaleText()
{
    QFETCH(QString, text);
    QFETCH(bool, usable);
    QCOMPARE(trace::isScaleText(text), usable);
}

void TestTraceMath::point_data()
{
    QTest::addColumn<double>("timeScale");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("error");
    QTest::addColumn<int>("factor");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::newRow("scale 50, +50 at the top") << 30.0 << 1.0 << 50.0 << 40 << 30.0f << 0.0f;
    QTest::newRow("scale 50, -50 at the bottom") << 30.0 << 2.0 << -50.0 << 40 << 60.0f << 4000.0f;
    QTest::newRow("scale 2000, 500") << 30.0 << 10.0 << 500.0 << 1 << 300.0f << 1500.0f;
    QTest::newRow("unlisted scale lies flat") << 20.0 << 7.0 << 123.0 << 0 << 140.0f << 2000.0f;
    QTest::newRow("beyond the edge") << 200.0 << 45.0 << 600.0 << 4 << 9000.0f << -400.0f;
}

void TestTraceMath::point()
{
    QFETCH(double, timeScale);
    QFETCH(double, elapsed);
    QFETCH(double, error);
    QFETCH(int, factor);
    QFETCH(float, x);
    QFETCH(float, y);
    QCOMPARE(trace::pointX(timeScale, elapsed), x);
    QCOMPARE(trace::pointY(error, factor), y);
}

void TestTraceMath::wraps_data()
{
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("timeScale");
    QTest::addColumn<bool>("wraps");
    QTest::newRow("30: one short") << 299.0 << 30.0 << false;
    QTest::newRow("30: full screen") << 300.0 << 30.0 << true;
    QTest::newRow("75: full screen") << 120.0 << 75.0 << true;
    QTest::newRow("7: not a whole count") << 1285.0 << 7.0 << false;
    QTest::newRow("7: past it") << 1286.0 << 7.0 << true;
    QTest::newRow("zero scale never divides") << 5.0 << 0.0 << false;
    QTest::newRow("negative scale") << 5.0 << -30.0 << false;
}

void TestTraceMath::wraps()
{
    QFETCH(double, elapsed);
    QFETCH(double, timeScale);
    QFETCH(bool, wraps);
    QCOMPARE(trace::wraps(elapsed, timeScale), wraps);
}

QTEST_APPLESS_MAIN(TestTraceMath)
#include "tst_tracemath.moc"
