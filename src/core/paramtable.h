#pragma once

#include <QObject>
#include <QString>

#include <array>

namespace kdx {

// Which kind of write a value is checked for.
enum class WriteKind { Test, Save };

// One row of the parameter table: the names of the row's controls, the
// scrollbar limits, the accepted ranges and the texts that belong to it. The
// window builds its eight rows from it.
struct ParamSpec {
    // Texts in Hungarian (paramCaption() and readAllMessage() give them in the
    // language in use).
    const char *label;      // parameter name label
    const char *caption;    // its caption
    const char *currentBox; // current-value box
    const char *newBox;     // new-value box
    const char *scrollBar;  // scrollbar that dials the new value
    const char *readButton; // hidden single-read button
    const char *testButton; // test write button
    const char *saveButton; // save write button
    int scrollMin, scrollMax, scrollStart;
    int testLo, testHi;
    int saveLo, saveHi;
    const char *readAllMessage; // shown when the current value does not fit the scrollbar
    const char *fileName;       // the parameter's name in the file-save messages
    int labelWidth = 2415;      // the name label's size, twips
    int labelHeight = 255;
};

inline constexpr int kParamCount = 8;

const std::array<ParamSpec, kParamCount> &paramTable();
const ParamSpec &param(int n);

// The row's caption and its read-all message in the language in use.
QString paramCaption(int n);
QString readAllMessage(int n);

// The read command word, "P0".."P7".
QString commandWord(int n);

// "Csak pozitív egész érték a megengedett! (lo-hi értékhatár között)" for the
// range that the given write of parameter n accepts.
QString rangeMessage(int n, WriteKind kind);

inline constexpr const char *kRangeMessageTitle =
    QT_TRANSLATE_NOOP("Parameters", "Hibás adatbevitel");
// kRangeMessageTitle in the language in use.
QString rangeMessageTitle();

// Outcome of checking a normalised new value for a write.
struct Validation {
    bool ok;
    QString message; // the range message when !ok
};

// Checks, in order: reads as a number, not above the upper limit, not below
// the lower limit. The first failing check decides.
Validation validateNewValue(int n, WriteKind kind, const QString &normalisedText,
                            QChar decimalSeparator);
Validation validateNewValue(int n, WriteKind kind, const QString &normalisedText);

// The torque limit as a percentage of full PWM duty (256 = 100 %).
inline double torquePercent(double duty)
{
    return duty / 2.56;
}

// The n of the gear ratio 1:n (1024 = 1:1, 256 = 1:4).
inline double gearRatioDivisor(double value)
{
    return 1024.0 / value;
}

} // namespace kdx
