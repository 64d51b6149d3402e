#include "core/numberrules.h"
#include "core/paramtable.h"

#include <QTest>

using namespace kdx;

Q_DECLARE_METATYPE(std::optional<double>)

class TestNumberRules : public QObject {
    Q_OBJECT
private slots:
    void readNumber_data();
    void readNumber();
    void numberOutOfRange_data();
    void numberOutOfRange();
    void normalisation_data();
    void normalisation();
    void validation_data();
    void validation();
    void toInt16_data();
    void toInt16();
    void generalNumberText_data();
    void generalNumberText();
    void derivedValues();
};

void TestNumberRules::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<double>("value");

    const QChar hu(u','), c(u'.');
    QTest::newRow("whole") << "1000" << hu << true << 1000.0;
    QTest::newRow("blanks around") << "  250 " << hu << true << 250.0;
    QTest::newRow("hu decimal comma") << "12,7" << hu << true << 12.7;
    QTest::newRow("hu trailing comma from a loaded set") << "100," << hu << true << 100.0;
    QTest::newRow("hu point is not the separator") << "12.7" << hu << false << 0.0;
    QTest::newRow("C decimal point") << "12.7" << c << true << 12.7;
    QTest::newRow("C trailing point") << "100." << c << true << 100.0;
    QTest::newRow("C comma is not the separator") << "100," << c << false << 0.0;
    QTest::newRow("negative") << "-12,7" << hu << true << -12.7;
    QTest::newRow("plus sign") << "+5" << hu << true << 5.0;
    QTest::newRow("leading separator") << ",5" << hu << true << 0.5;
    QTest::newRow("exponent") << "1e3" << c << true << 1000.0;
    QTest::newRow("exponent with sign") << "25E-1" << c << true << 2.5;
    QTest::newRow("exponent without digits") << "1e" << c << false << 0.0;
    QTest::newRow("empty") << "" << hu << false << 0.0;
    QTest::newRow("blanks only") << "   " << hu << false << 0.0;
    QTest::newRow("letters") << "abc" << hu << false << 0.0;
    QTest::newRow("number then letters") << "12abc" << hu << false << 0.0;
    QTest::newRow("number then colon") << "250:" << hu << false << 0.0;
    QTest::newRow("reply with colon") << " 1234:" << hu << false << 0.0;
    QTest::newRow("separator alone") << "," << hu << false << 0.0;
    QTest::newRow("sign alone") << "-" << hu << false << 0.0;
    QTest::newRow("two separators") << "1,2,3" << hu << false << 0.0;
    QTest::newRow("inside blank") << "1 000" << hu << false << 0.0;
    QTest::newRow("overflow") << "1e999" << c << false << 0.0;
    QTest::newRow("inf is no number") << "inf" << c << false << 0.0;
    QTest::newRow("nan is no number") << "nan" << c << false << 0.0;
    QTest::newRow("hex is no number") << "0x10" << c << false << 0.0;
}

void TestNumberRules::readNumber()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(bool, reads);
    QFETCH(double, value);
    const auto result = kdx::readNumber(text, separator);
    QCOMPARE(result.has_value(), reads);
    if (reads)
        QCOMPARE(*result, value);
}

void TestNumberRules::numberOutOfRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("form");
    QTest::addColumn<double>("value");

    const int number = int(NumberReading::Form::Number);
    const int none = int(NumberReading::Form::NotANumber);
    const int outOfRange = int(NumberReading::Form::OutOfRange);
    QTest::newRow("number") << " 12,5" << number << 12.5;
    QTest::newRow("largest double") << "1,7e308" << number << 1.7e308;
    QTest::newRow("smallest double") << "5e-324" << number << 5e-324;
    QTest::newRow("too large") << "1e999" << outOfRange << 0.0;
    QTest::newRow("too large, negative") << "-1e999" << outOfRange << 0.0;
    QTest::newRow("too small") << "1e-999" << outOfRange << 0.0;
    QTest::newRow("letters") << "abc" << none << 0.0;
    QTest::newRow("empty") << "" << none << 0.0;
    QTest::newRow("exponent without digits") << "1e" << none << 0.0;
    QTest::newRow("too large, then letters") << "1e999x" << none << 0.0;
}

void TestNumberRules::numberOutOfRange()
{
    QFETCH(QString, text);
    QFETCH(int, form);
    QFETCH(double, value);
    const NumberReading reading = examineNumber(text, u',');
    QCOMPARE(int(reading.form), form);
    if (reading.form == NumberReading::Form::Number)
        QCOMPARE(reading.value, value);
    QCOMPARE(kdx::readNumber(text, u',').has_value(), form == int(NumberReading::Form::Number));
}

void TestNumberRules::normalisation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("normalised");

    const QChar hu(u','), c(u'.');
    QTest::newRow("zero empties") << "0" << hu << "";
    QTest::newRow("double zero") << "00" << hu << "0";
    QTest::newRow("fraction below one") << "0,4" << hu << "0";
    QTest::newRow("rounded down") << "12,7" << hu << "12";
    QTest::newRow("negative: floor, then absolute") << "-12,7" << hu << "13";
    QTest::newRow("negative whole") << "-5" << hu << "5";
    QTest::newRow("small negative") << "-0,4" << hu << "1";
    QTest::newRow("blanks removed") << " 250 " << hu << "250";
    QTest::newRow("trailing comma") << "100," << hu << "100";
    QTest::newRow("C locale") << "12.7" << c << "12";
    QTest::newRow("not a number stays") << "abc" << hu << "abc";
    QTest::newRow("empty stays") << "" << hu << "";
    QTest::newRow("large") << "1e20" << c << "100000000000000000000";
}

void TestNumberRules::normalisation()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(QString, normalised);
    QCOMPARE(normalisedNewValue(text, separator), normalised);
}

void TestNumberRules::validation_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("message");

    const int test = int(WriteKind::Test), save = int(WriteKind::Save);
    const QString p0 = "Csak pozitív egész érték a megengedett! (10-1000 értékhatár között)";
    const QString r5000 = "Csak pozitív egész érték a megengedett! (1-5000 értékhatár között)";
    const QString r9999 = "Csak pozitív egész érték a megengedett! (1-9999 értékhatár között)";
    const QString r1000 = "Csak pozitív egész érték a megengedett! (1-1000 értékhatár között)";
    const QString r250 = "Csak pozitív egész érték a megengedett! (1-250 értékhatár között)";
    const QString r4096 = "Csak pozitív egész érték a megengedett! (1-4096 értékhatár között)";

    QTest::newRow("P0 empty, test") << 0 << test << "" << p0;
    QTest::newRow("P0 empty, save") << 0 << save << "" << p0;
    QTest::newRow("P0 below") << 0 << test << "9" << p0;
    QTest::newRow("P0 lowest") << 0 << save << "10"
                               << "";
    QTest::newRow("P0 1000") << 0 << test << "1000"
                             << "";
    QTest::newRow("P0 1001") << 0 << test << "1001" << p0;
    QTest::newRow("P1 zero") << 1 << test << "0" << r5000;
    QTest::newRow("P1 letters") << 1 << save << "abc" << r5000;
    QTest::newRow("P1 12abc") << 1 << test << "12abc" << r5000;
    QTest::newRow("P3 1000") << 3 << save << "1000"
                             << "";
    QTest::newRow("P3 1001") << 3 << save << "1001" << r1000;
    QTest::newRow("P4 250") << 4 << test << "250"
                            << "";
    QTest::newRow("P4 251") << 4 << test << "251" << r250;
    QTest::newRow("P5 6000 test") << 5 << test << "6000"
                                  << "";
    QTest::newRow("P5 6000 save") << 5 << save << "6000" << r5000;
    QTest::newRow("P5 10000 test") << 5 << test << "10000" << r9999;
    QTest::newRow("P6 4096") << 6 << save << "4096"
                             << "";
    QTest::newRow("P6 4097") << 6 << save << "4097" << r4096;
    QTest::newRow("P7 13") << 7 << test << "13"
                           << "";
}

void TestNumberRules::validation()
{
    QFETCH(int, n);
    QFETCH(int, kind);
    QFETCH(QString, box);
    QFETCH(QString, message);
    const Validation v = validateNewValue(n, WriteKind(kind), box, QChar(u','));
    QCOMPARE(v.ok, message.isEmpty());
    QCOMPARE(v.message, message);
}

void TestNumberRules::toInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("value");

    const QChar hu(u','), c(u'.');
    QTest::newRow("plain") << "1000" << hu << true << 1000;
    QTest::newRow("leading blank from a read") << " 1000" << hu << true << 1000;
    QTest::newRow("half to even down") << "2,5" << hu << true << 2;
    QTest::newRow("half to even up") << "3,5" << hu << true << 4;
    QTest::newRow("negative half") << "-2.5" << c << true << -2;
    QTest::newRow("nearest") << "2.6" << c << true << 3;
    QTest::newRow("lowest") << "-32768" << hu << true << -32768;
    QTest::newRow("highest") << "32767" << hu << true << 32767;
    QTest::newRow("rounds into range") << "32767,4" << hu << true << 32767;
    QTest::newRow("rounds out of range") << "32767,5" << hu << false << 0;
    QTest::newRow("too large") << "40000" << hu << false << 0;
    QTest::newRow("too small") << "-32769" << hu << false << 0;
    QTest::newRow("text") << "Kiolvas" << hu << false << 0;
    QTest::newRow("empty") << "" << hu << false << 0;
}

void TestNumberRules::toInt16()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(bool, converts);
    QFETCH(int, value);
    const auto result = kdx::toInt16(text, separator);
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(int(*result), value);
}

void TestNumberRules::generalNumberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");

    const QChar hu(u','), c(u'.');
    QTest::newRow("whole") << 100.0 << hu << "100";
    QTest::newRow("fraction, C") << 100 / 2.56 << c << "39.0625";
    QTest::newRow("fraction, hu") << 100 / 2.56 << hu << "39,0625";
    QTest::newRow("15 digits") << 1024 / 3.0 << c << "341.333333333333";
    QTest::newRow("15 digits, hu") << 1024 / 3.0 << hu << "341,333333333333";
    QTest::newRow("quarter") << 0.25 << hu << "0,25";
    QTest::newRow("half of fifty") << 50.5 << hu << "50,5";
}

void TestNumberRules::generalNumberText()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QCOMPARE(kdx::generalNumberText(value, separator), text);
}

void TestNumberRules::derivedValues()
{
    QCOMPARE(torquePercent(256), 100.0);
    QCOMPARE(torquePercent(250), 97.65625);
    QCOMPARE(gearRatioDivisor(1024), 1.0);
    QCOMPARE(gearRatioDivisor(256), 4.0);
    QCOMPARE(gearRatioDivisor(4096), 0.25);
}

QTEST_APPLESS_MAIN(TestNumberRules)
#include "tst_numberrules.moc"
