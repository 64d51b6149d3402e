#include "paramtable.h"

#include "numberrules.h"

#include <QCoreApplication>

namespace kdx {

namespace {

// clang-format off
const std::array<ParamSpec, kParamCount> kTable = {{
    {"Label1", QT_TRANSLATE_NOOP("Parameters", "P0 - ( Velocity limit )"),    "Text1", "Text10", "HScroll3",  "Command4",  "Command1",  "Command12",
     10, 1000, 10,   10, 1000, 10, 1000, QT_TRANSLATE_NOOP("Parameters", "Hibás P0 - (velocity limit) érték."),    "velocity limit"},
    {"Label2", QT_TRANSLATE_NOOP("Parameters", "P1 - ( Velocity feedback )"), "Text2", "Text11", "HScroll4",  "Command5",  "Command13", "Command2",
     1, 5000, 1,     1, 5000,  1, 5000,  QT_TRANSLATE_NOOP("Parameters", "Hibás P1 - (velocity feedback) érték."), "velocity feedback", 2655},
    {"Label3", QT_TRANSLATE_NOOP("Parameters", "P2 - ( P - gain )"),          "Text3", "Text12", "HScroll5",  "Command6",  "Command14", "Command21",
     1, 5000, 1,     1, 5000,  1, 5000,  QT_TRANSLATE_NOOP("Parameters", "Hibás P2 - (P gain) érték."),            "P gain"},
    {"Label4", QT_TRANSLATE_NOOP("Parameters", "P3 - ( I - gain )"),          "Text4", "Text13", "HScroll6",  "Command7",  "Command15", "Command22",
     1, 1000, 1,     1, 1000,  1, 1000,  QT_TRANSLATE_NOOP("Parameters", "Hibás P3 - (I gain) érték."),            "I gain"},
    {"Label5", QT_TRANSLATE_NOOP("Parameters", "P4 - ( Torque limit )"),      "Text5", "Text14", "HScroll7",  "Command8",  "Command16", "Command23",
     1, 250, 1,      1, 250,   1, 250,   QT_TRANSLATE_NOOP("Parameters", "Hibás P4 - (torque limit) érték."),      "torque limit"},
    {"Label6", QT_TRANSLATE_NOOP("Parameters", "P5 - ( EMF )"),               "Text6", "Text15", "HScroll8",  "Command9",  "Command17", "Command24",
     1, 5000, 1,     1, 9999,  1, 5000,  QT_TRANSLATE_NOOP("Parameters", "Hibás P5 - (EMF) érték."),               "EMF", 2415, 375},
    {"Label7", QT_TRANSLATE_NOOP("Parameters", "P6 - ( Gear ratio )"),        "Text7", "Text16", "HScroll9",  "Command10", "Command18", "Command25",
     1, 4096, 256,   1, 4096,  1, 4096,  QT_TRANSLATE_NOOP("Parameters", "Hibás P6 - (gear ratio) érték."),        "gear ratio"},
    {"Label8", QT_TRANSLATE_NOOP("Parameters", "P7 - ( D - gain )"),          "Text8", "Text17", "HScroll10", "Command11", "Command19", "Command26",
     1, 1000, 1,     1, 1000,  1, 1000,  QT_TRANSLATE_NOOP("Parameters", "Hibás P7 - (D gain) érték."),            "D gain"},
}};
// clang-format on

} // namespace

const std::array<ParamSpec, kParamCount> &paramTable()
{
    return kTable;
}

const ParamSpec &param(int n)
{
    return kTable.at(static_cast<std::size_t>(n));
}

QString paramCaption(int n)
{
    return QCoreApplication::translate("Parameters", param(n).caption);
}

QString readAllMessage(int n)
{
    return QCoreApplication::translate("Parameters", param(n).readAllMessage);
}

QString rangeMessageTitle()
{
    return QCoreApplication::translate("Parameters", kRangeMessageTitle);
}

QString commandWord(int n)
{
    return QStringLiteral("P%1").arg(n);
}

QString rangeMessage(int n, WriteKind kind)
{
    const ParamSpec &p = param(n);
    const int lo = kind == WriteKind::Test ? p.testLo : p.saveLo;
    const int hi = kind == WriteKind::Test ? p.testHi : p.saveHi;
    return QCoreApplication::translate("Parameters",
                                       "Csak pozitív egész érték a megengedett! (%1-%2 értékhatár "
                                       "között)")
        .arg(lo)
        .arg(hi);
}

Validation validateNewValue(int n, WriteKind kind, const QString &normalisedText,
                            QChar decimalSeparator)
{
    const ParamSpec &p = param(n);
    const int lo = kind == WriteKind::Test ? p.testLo : p.saveLo;
    const int hi = kind == WriteKind::Test ? p.testHi : p.saveHi;
    const auto value = readNumber(normalisedText, decimalSeparator);
    if (!value || *value > hi || *value < lo)
        return {false, rangeMessage(n, kind)};
    return {true, QString()};
}

Validation validateNewValue(int n, WriteKind kind, const QString &normalisedText)
{
    return validateNewValue(n, kind, normalisedText, localeDecimalSeparator());
}

} // namespace kdx
