#include "helptable.h"

#include "core/numberrules.h"
#include "core/paramtable.h"

#include <QCoreApplication>
#include <QHash>

#include <cmath>

namespace kdx {

namespace {

// clang-format off
const HelpEntry kEntries[] = {
    {1, "Form1", HelpEntry::Kind::Text,
     kGeneralHelpText},
    {2, "Frame1", HelpEntry::Kind::Text,
     kGeneralHelpText},
    {3, "Frame2", HelpEntry::Kind::Text,
     kGeneralHelpText},
    {4, "Frame4", HelpEntry::Kind::Text,
     kGeneralHelpText},
    {5, "Frame3", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Segítség helye...")},
    {6, "AutoTuning", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Automata motor paraméter beállítás .")},
    {7, "Check1", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Kiválasztás esetén a scroll bar értéket azonnal mentés nélkül(teszt módban) elküldi a microcontrollerbe.")},
    {8, "Label10", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Scroll bar értéke ebbe az érték boxba kerül (aktivált zöld box).")},
    {9, "Label23", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Paraméter kiolvasás időzítő .")},
    {10, "Command3", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt összes érték kiolvasása")},
    {11, "Command4", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális velocity limit érték kiolvasása")},
    {12, "Command5", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális velocity feedback érték kiolvasása")},
    {13, "Command6", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális P gain érték kiolvasása")},
    {14, "Command7", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális I gain érték kiolvasása")},
    {15, "Command8", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális torque limit érték kiolvasása")},
    {16, "Command9", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális EMS feedback érték kiolvasása")},
    {17, "Command10", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális gear ratio érték kiolvasása")},
    {18, "Command11", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Aktuális D gain érték kiolvasása")},
    {19, "Text1", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt velocity limit (sebesség határ) érték. ")},
    {20, "Text2", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt velocity feedback (sebesség visszajelzés) érték")},
    {21, "Text3", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt P gain (P tag) érték")},
    {22, "Text4", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt I gain (I tag) érték")},
    {23, "Text5", HelpEntry::Kind::Torque,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt torque limit érték. "),
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt torque limit érték. ")},
    {24, "Text6", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt EMF érték")},
    {25, "Text7", HelpEntry::Kind::GearRatio,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , 1024=1:1). Áttétel : 1:"),
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , 1024=1:1).")},
    {26, "Text8", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Microcontrollerben jelenleg használt D gain (D tag) érték")},
    {27, "Text10", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új velocity limit értéket itt adhatsz meg .  Scroll bar értéke ide kerül.")},
    {28, "Text11", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új velocity feedback értéket itt adhatsz meg .  Scroll bar értéke ide kerül.")},
    {29, "Text12", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új P gain értéket itt adhatsz meg . Scroll bar értéke ide kerül.")},
    {30, "Text13", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új I gain értéket itt adhatsz meg .  Scroll bar értéke ide kerül.")},
    {31, "Text14", HelpEntry::Kind::Torque,
     QT_TRANSLATE_NOOP("Help", "Új torque limit érték. "),
     QT_TRANSLATE_NOOP("Help", "Új torque limit érték.")},
    {32, "Text15", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új EMS feedback értéket itt adhatsz meg . Scroll bar értéke ide kerül.")},
    {33, "Text16", HelpEntry::Kind::GearRatio,
     QT_TRANSLATE_NOOP("Help", "Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1). Áttétel : 1:"),
     QT_TRANSLATE_NOOP("Help", "Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1).")},
    {34, "Text17", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új D gain értéket itt adhatsz meg .  Scroll bar értéke ide kerül.")},
    {35, "Command1", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új velocity limit értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {36, "Command13", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új velocity feedback értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {37, "Command14", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új P gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {38, "Command15", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új I gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {39, "Command16", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új torque limit értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {40, "Command17", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új EMF feedback értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {41, "Command18", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új gear ratio értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {42, "Command19", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új D gain értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).")},
    {43, "Command12", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új velocity limit értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {44, "Command2", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új velocity feedback értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {45, "Command21", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új P gain értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {46, "Command22", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új I gain értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {47, "Command23", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új torque limit értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {48, "Command24", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új EMF feedback értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {49, "Command25", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új gear ratio értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {50, "Command26", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Új D gain értéket elküldöd a microconrollerbe , új érték mentéssel.")},
    {51, "Command27", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Minden új értéket elküldöd a microconrollerbe , új érték mentés nélkül.")},
    {52, "Command20", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Minden új értéket elküldöd a microconrollerbe , új értékek mentéssel.")},
    {53, "Command31", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Motor futás feszültségvezérelt módban .")},
    {54, "Command32", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Motor futás PID szabályozott módban a fordulatszám scroll baron beállított sebességen.")},
    {55, "Command33", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Léptető mód kiválasztása.")},
    {56, "Command34", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Motor futás leállítása + RESET .")},
    {57, "Check3", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Ismétlődve lépteti a motort a kiválasztott irányba a megadott (NEM encoder impulzus)lépésjel számmal P0 sebességen.")},
    {58, "Option1", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Motor forgásirány léptető módban (+).")},
    {59, "Option2", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Motor forgásirány léptető módban (-).")},
    {60, "Text9", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Léptetés P0 sebességen . 1 motor fordulat = encoder felbontása × 4")},
    {61, "txtEncoder", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Encoder felbontása . ")},
    {62, "Check2", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Pozíció hiba mérés be-kikapcsolható . Nem minden KDX mikrokontroller programban elérhető funkció !")},
    {63, "Picture1", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Pillanatnyi pozíció hiba grafikus megjelenítése.")},
    {64, "Text20", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Pillanatnyi pozíció hiba . ")},
    {65, "Text24", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Legnagyobb pozíció hiba . ")},
    {66, "Command28", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Legnagyobb és pillanatnyi pozíció hiba érték nullázása .")},
    {67, "Command39", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Pozíció hiba érték nullázása . Csak a programban ! Microcontroller-ben nem. ")},
    {68, "Command41", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Monitorozás bezárása . KDXparam.txt file-ben tárolt paraméter listák megjelenítése .")},
    {69, "List1", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Filében tárolt paraméterlista. ")},
    {70, "Command29", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "Filében tárolt paraméterlista frissítése.")},
    {71, "Command36", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "A filében tárolt paraméterlista betöltése , megnyitása.")},
    {72, "Command30", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "KDXparam.txt filéből kiválasztott paramétersor törlése.")},
    {73, "Command40", HelpEntry::Kind::Text,
     QT_TRANSLATE_NOOP("Help", "KDXparam.txt file bezárás , monitorozás megnyitása .")},
};
// clang-format on

// The computed part of a rule; nothing when it cannot be worked out.
std::optional<double> computed(HelpEntry::Kind kind, double x)
{
    if (kind == HelpEntry::Kind::GearRatio && x == 0)
        return std::nullopt;
    const double result = kind == HelpEntry::Kind::Torque ? torquePercent(x) : gearRatioDivisor(x);
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

} // namespace

std::span<const HelpEntry> helpEntries()
{
    return kEntries;
}

const HelpEntry *helpEntry(QStringView control)
{
    static const QHash<QString, const HelpEntry *> byControl = [] {
        QHash<QString, const HelpEntry *> index;
        for (const HelpEntry &e : kEntries)
            index.insert(QLatin1String(e.control), &e);
        return index;
    }();
    return byControl.value(control.toString());
}

std::optional<QString> helpText(const HelpEntry &entry, const QString &boxText,
                                QChar decimalSeparator)
{
    const QString text = QCoreApplication::translate("Help", entry.text);
    if (entry.kind == HelpEntry::Kind::Text)
        return text;

    const NumberReading x = examineNumber(boxText, decimalSeparator);
    if (x.form == NumberReading::Form::NotANumber)
        return QCoreApplication::translate("Help", entry.fallback);
    if (x.form == NumberReading::Form::OutOfRange)
        return std::nullopt;
    const std::optional<double> value = computed(entry.kind, x.value);
    if (!value)
        return std::nullopt;
    const QString number = generalNumberText(*value, decimalSeparator);
    if (entry.kind == HelpEntry::Kind::Torque)
        return text + QStringLiteral("(PWM : ") + number + QStringLiteral(" %)");
    return text + number;
}

} // namespace kdx
