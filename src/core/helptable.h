#pragma once

#include <QChar>
#include <QObject>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace kdx {

// The general hint: the help panel's first text, and what the window's and
// the frames' own backgrounds put back.
inline constexpr const char *kGeneralHelpText =
    QT_TRANSLATE_NOOP("Help", "Help : Mozgasd az egér kurzort a gombok vagy érték mező fölé.");

// One row of the window's hover help: the control it belongs to and what the
// help panel shows while the mouse moves over it.
struct HelpEntry {
    enum class Kind {
        Text,      // a fixed text
        Torque,    // text + "(PWM : " + box / 2.56 + " %)"
        GearRatio, // text + 1024 / box
    };
    int number;          // its place in the table, 1..73
    const char *control; // object name of the control ("Form1" for the window)
    Kind kind;
    // In Hungarian (helpText() gives them in the language in use):
    const char *text;               // the fixed text, or the computed text's beginning
    const char *fallback = nullptr; // computed entries: the text when the box holds no number
};

// Every entry, in table order. Controls that are not listed have no help and
// leave the panel as it is.
std::span<const HelpEntry> helpEntries();

// The entry of the named control; nullptr when it has none.
const HelpEntry *helpEntry(QStringView control);

// What the help panel shows for an entry; boxText is the text of the entry's
// own box (computed entries only). Nothing when the panel keeps its text: a
// gear ratio of 0, or a number beyond what the computation can hold.
std::optional<QString> helpText(const HelpEntry &entry, const QString &boxText,
                                QChar decimalSeparator);

} // namespace kdx
