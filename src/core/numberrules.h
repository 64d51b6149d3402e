#pragma once

#include <QChar>
#include <QString>

#include <optional>

// Rules for turning the text of a box into a number and back. Values live
// only as text in the window's boxes; these functions are the one place that
// decides what such a text means.
namespace kdx {

// The decimal separator of the operator's locale (comma in Hungarian).
QChar localeDecimalSeparator();

// A text reads as a number when the whole of it is one decimal number:
// blanks around it, an optional sign, digits with an optional decimal
// separator and fraction, an optional exponent. A number that ends with the
// separator and no digits after it ("100," in Hungarian) reads as well.
// Empty texts, letters and numbers followed by anything else do not.
std::optional<double> readNumber(const QString &text, QChar decimalSeparator);
std::optional<double> readNumber(const QString &text);

// The same reading, telling apart a text that is no number from one written
// as a number that no double holds ("1e999", "1e-999").
struct NumberReading {
    enum class Form { Number, NotANumber, OutOfRange };
    Form form = Form::NotANumber;
    double value = 0; // for Number only
};
NumberReading examineNumber(const QString &text, QChar decimalSeparator);

// Plain decimal digits of a whole number, '-' only when negative, no blanks
// and no grouping. The value is rounded down (towards minus infinity) first.
QString wholeNumberText(double value);

// Whole-number normalisation of a new-value box before a write: "0" becomes
// empty; a number becomes the absolute value of its floor; anything else
// stays as it is.
QString normalisedNewValue(const QString &text, QChar decimalSeparator);
QString normalisedNewValue(const QString &text);

// Conversion to a 16-bit whole number, rounding to nearest with halves to
// even; nothing when the text is not a number or falls outside -32768..32767.
std::optional<qint16> toInt16(const QString &text, QChar decimalSeparator);
std::optional<qint16> toInt16(const QString &text);

// Up to 15 significant digits, no trailing zeros, no grouping, with the given
// decimal separator (100 / 2.56 is "39.0625", 1024 / 3 "341.333333333333").
QString generalNumberText(double value, QChar decimalSeparator);
QString generalNumberText(double value);

} // namespace kdx
