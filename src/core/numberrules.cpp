#include "numberrules.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

namespace kdx {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

QChar localeDecimalSeparator()
{
    const QString sep = QLocale().decimalPoint();
    return sep.isEmpty() ? QChar(u'.') : sep.front();
}

NumberReading examineNumber(const QString &text, QChar decimalSeparator)
{
    const NumberReading notANumber;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';

    // The number again in plain C notation, for a locale-free conversion.
    std::string plain;
    while (i < n && isDigit(text[i]))
        plain += char(text[i++].unicode());
    std::string fraction;
    if (i < n && text[i] == decimalSeparator) {
        ++i;
        while (i < n && isDigit(text[i]))
            fraction += char(text[i++].unicode());
    }
    if (plain.empty() && fraction.empty())
        return notANumber;
    if (plain.empty())
        plain.push_back('0'); // not = "0": GCC 12 warns falsely (-Wrestrict) at -O2
    if (!fraction.empty())
        plain += '.' + fraction;

    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exponent += char(text[j++].unicode());
        const std::size_t signLength = exponent.size();
        while (j < n && isDigit(text[j]))
            exponent += char(text[j++].unicode());
        if (exponent.size() == signLength)
            return notANumber;
        plain += exponent;
        i = j;
    }

    while (i < n && isBlank(text[i]))
        ++i;
    if (i != n)
        return notANumber;

    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range)
        return {NumberReading::Form::OutOfRange, 0};
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return notANumber;
    return {NumberReading::Form::Number, negative ? -value : value};
}

std::optional<double> readNumber(const QString &text, QChar decimalSeparator)
{
    const NumberReading reading = examineNumber(text, decimalSeparator);
    if (reading.form != NumberReading::Form::Number)
        return std::nullopt;
    return reading.value;
}

std::optional<double> readNumber(const QString &text)
{
    return readNumber(text, localeDecimalSeparator());
}

QString wholeNumberText(double value)
{
    const double whole = std::floor(value) + 0.0; // + 0.0 turns -0 into 0
    return QString::number(whole, 'f', 0);
}

QString normalisedNewValue(const QString &text, QChar decimalSeparator)
{
    if (text == u"0")
        return QString();
    const auto value = readNumber(text, decimalSeparator);
    if (!value)
        return text;
    // Floor first, then the absolute value of that: -12.7 gives 13.
    return wholeNumberText(std::fabs(std::floor(*value)));
}

QString normalisedNewValue(const QString &text)
{
    return normalisedNewValue(text, localeDecimalSeparator());
}

std::optional<qint16> toInt16(const QString &text, QChar decimalSeparator)
{
    const auto value = readNumber(text, decimalSeparator);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // default mode: halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

std::optional<qint16> toInt16(const QString &text)
{
    return toInt16(text, localeDecimalSeparator());
}

QString generalNumberText(double value, QChar decimalSeparator)
{
    QString s = QString::number(value, 'g', 15);
    if (decimalSeparator != u'.')
        s.replace(u'.', decimalSeparator);
    return s;
}

QString generalNumberText(double value)
{
    return generalNumberText(value, localeDecimalSeparator());
}

} // namespace kdx
