#include "core/countrules.h"

#include <QLocale>
#include <QTest>

using namespace kdx;

class TestCountRules : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void rules_data();
    void rules();
};

void TestCountRules::rules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<bool>("outOfRange");
    QTest::addColumn<QString>("floored");
    QTest::newRow("count") << "2000" << true << false << "2000";
    QTest::newRow("smallest") << "1" << true << false << "1";
    QTest::newRow("largest") << "9999" << true << false << "9999";
    QTest::newRow("fraction rounds down") << "12,7" << true << false << "12";
    QTest::newRow("blanks and sign") << " +5 " << true << false << "5";
    QTest::newRow("exponent") << "2e3" << true << false << "2000";
    QTest::newRow("zero") << "0" << true << true << "0";
    QTest::newRow("below one") << "0,5" << true << true << "0";
    QTest::newRow("negative") << "-5" << true << true << "-5";
    QTest::newRow("negative fraction rounds down") << "-3,5" << true << true << "-4";
    QTest::newRow("above the largest") << "1e5" << true << true << "100000";
    QTest::newRow("empty") << "" << false << false << "";
    QTest::newRow("letters") << "abc" << false << false << "abc";
    QTest::newRow("point is no separator here") << "1.5" << false << false << "1.5";
}

void TestCountRules::rules()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(bool, outOfRange);
    QFETCH(QString, floored);
    QCOMPARE(count::isNumber(text), number);
    QCOMPARE(count::isOutOfRange(text), outOfRange);
    QCOMPARE(count::floored(text), floored);
}

QTEST_APPLESS_MAIN(TestCountRules)
#include "tst_countrules.moc"
