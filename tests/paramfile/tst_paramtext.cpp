#include "core/filetext.h"
#include "core/paramline.h"
#include "core/windows1250.h"

#include <QSet>
#include <QTest>

using namespace kdx;

Q_DECLARE_METATYPE(kdx::FileEncoding)

class TestParamText : public QObject {
    Q_OBJECT
private slots:
    void windows1250BothWays_data();
    void windows1250BothWays();
    void windows1250KeepsEveryByte();
    void windows1250Refuses_data();
    void windows1250Refuses();
    void encodingOfFileBytes_data();
    void encodingOfFileBytes();
    void rowsOfFileBytes_data();
    void rowsOfFileBytes();
    void lineOfTheExample();
    void savedValuesLoadBack_data();
    void savedValuesLoadBack();
    void loadOfStoredRows_data();
    void loadOfStoredRows();
    void keyPositionsAreOneBased();
    void whatALineCanHold_data();
    void whatALineCanHold();
};

void TestParamText::windows1250BothWays_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("character");
    QTest::newRow("ASCII") << 0x41 << 0x41;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("S caron") << 0x8A << 0x0160;
    QTest::newRow("z acute") << 0x9F << 0x017A;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("A acute") << 0xC1 << 0x00C1;
    QTest::newRow("O double acute") << 0xD5 << 0x0150;
    QTest::newRow("U double acute") << 0xDB << 0x0170;
    QTest::newRow("a acute") << 0xE1 << 0x00E1;
    QTest::newRow("o double acute") << 0xF5 << 0x0151;
    QTest::newRow("u double acute") << 0xFB << 0x0171;
    QTest::newRow("dot above") << 0xFF << 0x02D9;
    QTest::newRow("undefined 0x81") << 0x81 << 0x0081;
    QTest::newRow("undefined 0x83") << 0x83 << 0x0083;
    QTest::newRow("undefined 0x88") << 0x88 << 0x0088;
    QTest::newRow("undefined 0x90") << 0x90 << 0x0090;
    QTest::newRow("undefined 0x98") << 0x98 << 0x0098;
}

void TestParamText::windows1250BothWays()
{
    QFETCH(int, byte);
    QFETCH(int, character);
    const QByteArray bytes(1, char(byte));
    const QString text{QChar(char16_t(character))};
    QCOMPARE(windows1250::decode(bytes), text);
    QCOMPARE(windows1250::encode(text), std::optional<QByteArray>(bytes));
}

void TestParamText::windows1250KeepsEveryByte()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = windows1250::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
    QCOMPARE(windows1250::encode(text), std::optional<QByteArray>(all));
}

void TestParamText::windows1250Refuses_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("o tilde (Latin-1, not Central European)") << QStringLiteral("õ");
    QTest::newRow("check mark") << QStringLiteral("kész ✓");
    QTest::newRow("CJK") << QStringLiteral("中");
    QTest::newRow("emoji (surrogate pair)") << QStringLiteral("a 🙂");
    QTest::newRow("C1 control of the euro byte") << QString(QChar(0x0080));
}

void TestParamText::windows1250Refuses()
{
    QFETCH(QString, text);
    QVERIFY(!windows1250::canEncode(text));
    QVERIFY(!windows1250::encode(text));
    QVERIFY(!isStorableText(text));
}

void TestParamText::encodingOfFileBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FileEncoding>("encoding");
    QTest::addColumn<QString>("text");
    const auto cp = FileEncoding::Windows1250;
    const auto u8 = FileEncoding::Utf8;
    QTest::newRow("empty") << QByteArray() << cp << QString();
    QTest::newRow("ASCII") << QByteArray("< a > P0:1") << cp << QStringLiteral("< a > P0:1");
    QTest::newRow("windows-1250") << QByteArray("Kov\xE1"
                                                "cs \xF5r")
                                  << cp << QStringLiteral("Kovács őr");
    QTest::newRow("UTF-8") << QByteArray("Kov\xC3\xA1"
                                         "cs \xC5\x91r")
                           << u8 << QStringLiteral("Kovács őr");
    QTest::newRow("UTF-8 with byte order mark")
        << QByteArray("\xEF\xBB\xBF"
                      "a\xC3\xA9")
        << FileEncoding::Utf8WithBom << QStringLiteral("aé");
    QTest::newRow("only the first mark is the file's")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                      "< ")
        << FileEncoding::Utf8WithBom << QStringLiteral("\uFEFF< ");
    QTest::newRow("UTF-8 four-byte")
        << QByteArray("\xF0\x9F\x99\x82") << u8 << QStringLiteral("🙂");
    QTest::newRow("truncated sequence") << QByteArray("a\xC3") << cp << QStringLiteral("aĂ");
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << cp << QStringLiteral("ŔŻ");
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << cp << QStringLiteral("í\u00A0€");
    QTest::newRow("past U+10FFFF")
        << QByteArray("\xF4\x90\x80\x80") << cp << QStringLiteral("ô\u0090€€");
    QTest::newRow("stray continuation") << QByteArray("\x80") << cp << QStringLiteral("€");
}

void TestParamText::encodingOfFileBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FileEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(detectEncoding(bytes), encoding);
    QCOMPARE(decodeFileText(bytes), text);
}

void TestParamText::rowsOfFileBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("empty file") << QByteArray() << QStringList{""};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("CR alone, no end") << QByteArray("a\rb") << QStringList{"a", "b"};
    QTest::newRow("LF only stays in the line") << QByteArray("a\nb\n") << QStringList{"a\nb\n"};
    QTest::newRow("LF before CR") << QByteArray("a\n\rb") << QStringList{"a\n", "b"};
    QTest::newRow("empty line between") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("empty last line") << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("CR then CR LF") << QByteArray("a\r\r\n") << QStringList{"a", ""};
    QTest::newRow("mixed ends") << QByteArray("a\rb\r\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("windows-1250 row")
        << QByteArray("< \xE9k > P0:1\r\n") << QStringList{QStringLiteral("< ék > P0:1")};
    QTest::newRow("UTF-8 row") << QByteArray("< \xC3\xA9k > P0:1\r\n")
                               << QStringList{QStringLiteral("< ék > P0:1")};
}

void TestParamText::rowsOfFileBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QCOMPARE(splitRows(decodeFileText(bytes)), rows);
}

void TestParamText::lineOfTheExample()
{
    const ParamValues values{"1000", "50", "200", "10", "200", "100", "1024", "30"};
    QCOMPARE(composeParamLine(QStringLiteral("Teszt 1"), values),
             QStringLiteral("< Teszt 1 > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,"
                            "P7:30<end>"));
}

void TestParamText::savedValuesLoadBack_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("plain") << "Teszt 1"
                           << QStringList{"1000", "50", "200", "10", "200", "100", "1024", "30"};
    QTest::newRow("leading blank from a read")
        << "olvasott" << QStringList{" 1234", "50", " 7", "10", "200", "100", "1024", " 30"};
    QTest::newRow("trailing comma kept once")
        << "vesszős" << QStringList{"100,", "50,", "200", "10", "200", "100", "1024", "30,"};
    QTest::newRow("decimal comma")
        << "tört" << QStringList{"12,5", "1", "2", "3", "4", "5", "6", "7"};
    QTest::newRow("blanks and letters verbatim")
        << "  szóközök  " << QStringList{"  ", "abc", "200", "10", "200", "100", "1024", "x"};
    QTest::newRow("Hungarian comment with > and <")
        << "Árvíztűrő <tükörfúrógép> 2" << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("P8: is no key")
        << "P8: P9:" << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
}

void TestParamText::savedValuesLoadBack()
{
    QFETCH(QString, comment);
    QFETCH(QStringList, values);
    ParamValues saved;
    std::copy(values.begin(), values.end(), saved.begin());
    const QString line = composeParamLine(comment, saved);
    QVERIFY(line.startsWith(QStringLiteral("< ") + comment + QStringLiteral(" > P0:")));
    // What goes through the file comes back as it went in.
    const QByteArray bytes = *encodeText(line, FileEncoding::Windows1250) + kLineEnd;
    const QStringList rows = splitRows(decodeFileText(bytes));
    QCOMPARE(rows, QStringList{line});
    QCOMPARE(loadParamLine(rows.first()), std::optional<ParamValues>(saved));
}

void TestParamText::loadOfStoredRows_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QStringList>("values");
    const QString tail = "P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,P7:30<end>";
    const QStringList fine{"1000", "50", "200", "10", "200", "100", "1024", "30"};
    QTest::newRow("saved row") << "< Teszt 1 > P0:1000," + tail << true << fine;
    QTest::newRow("text after <end> is ignored")
        << "< Teszt 1 > P0:1000," + tail + " régi" << true << fine;
    QTest::newRow("no <end>") << "< a > P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8" << false
                              << QStringList();
    QTest::newRow("comment holding P1:") << "< P1: > P0:1000," + tail << false << QStringList();
    QTest::newRow("comment holding P0:")
        << "< x P0:9 > P0:1000," + tail << true
        << QStringList{"9 > P0:1000", "50", "200", "10", "200", "100", "1024", "30"};
    QTest::newRow("keys out of order")
        << "< a > P0:1,P1:2,P3:4,P2:3,P4:5,P5:6,P6:7,P7:8<end>" << false << QStringList();
    QTest::newRow("a key missing")
        << "< a > P0:1,P1:2,P2:3,P4:5,P5:6,P6:7,P7:8<end>" << false << QStringList();
    QTest::newRow("keys are case-sensitive")
        << "< a > p0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8<end>" << false << QStringList();
    QTest::newRow("<end> before P7")
        << "<end> P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8" << false << QStringList();
    QTest::newRow("nine keys, nothing between")
        << "P0:P1:P2:P3:P4:P5:P6:P7:<end>" << true << QStringList{"", "", "", "", "", "", "", ""};
    QTest::newRow("comma saved again")
        << "< a > P0:100,,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8,<end>" << true
        << QStringList{"100,", "2", "3", "4", "5", "6", "7", "8,"};
    QTest::newRow("empty row") << "" << false << QStringList();
    // Positions past 32 767 are no limit.
    QTest::newRow("40 000-character comment")
        << "< " + QString(40000, u'x') + " > P0:1000," + tail << true << fine;
}

void TestParamText::loadOfStoredRows()
{
    QFETCH(QString, row);
    QFETCH(bool, loads);
    QFETCH(QStringList, values);
    const std::optional<ParamValues> loaded = loadParamLine(row);
    QCOMPARE(loaded.has_value(), loads);
    if (loads)
        QCOMPARE(QStringList(loaded->begin(), loaded->end()), values);
}

void TestParamText::keyPositionsAreOneBased()
{
    const QString row = "P0:1,P1:2<end>";
    QCOMPARE(keyPosition(row, 0), 1);
    QCOMPARE(keyPosition(row, 1), 6);
    QCOMPARE(keyPosition(row, 8), 10);
    QCOMPARE(keyPosition(row, 2), 0);
    QCOMPARE(cutParamValue(row, 0), std::optional<QString>("1,"));
    QCOMPARE(loadParamValue(row, 0), std::optional<QString>("1"));
    QCOMPARE(cutParamValue(row, 1), std::nullopt); // P2: absent
}

void TestParamText::whatALineCanHold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("storable");
    QTest::addColumn<bool>("holdsKey");
    QTest::newRow("plain") << "Teszt 1" << true << false;
    QTest::newRow("Hungarian") << "Őszi beállítás, ütközővel" << true << false;
    QTest::newRow("CR") << "a\rb" << false << false;
    QTest::newRow("LF") << "a\nb" << false << false;
    QTest::newRow("tab") << "a\tb" << true << false;
    QTest::newRow("key P5:") << "régi P5: érték" << true << true;
    QTest::newRow("end marker") << "a<end>" << true << true;
    QTest::newRow("P8: is no key") << "P8:" << true << false;
    QTest::newRow("lower case is no key") << "p1:" << true << false;
    QTest::newRow("key letters apart") << "P 1 :" << true << false;
}

void TestParamText::whatALineCanHold()
{
    QFETCH(QString, text);
    QFETCH(bool, storable);
    QFETCH(bool, holdsKey);
    QCOMPARE(isStorableText(text), storable);
    QCOMPARE(containsParamKey(text), holdsKey);
}

QTEST_APPLESS_MAIN(TestParamText)
#include "tst_paramtext.moc"
