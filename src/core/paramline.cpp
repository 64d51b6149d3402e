#include "paramline.h"

#include "windows1250.h"

namespace kdx {

namespace {

constexpr int kEndMarker = kParamCount; // index of "<end>" among the keys

} // namespace

QString paramKey(int k)
{
    if (k == kEndMarker)
        return QStringLiteral("<end>");
    return QStringLiteral("P%1:").arg(k);
}

QString paramLineOpening(const QString &comment)
{
    return QStringLiteral("< ") + comment + QStringLiteral(" > ");
}

QString paramLinePiece(int k, const QString &value)
{
    return paramKey(k) + value + (k + 1 < kParamCount ? QStringLiteral(",") : paramKey(kEndMarker));
}

QString composeParamLine(const QString &comment, const ParamValues &values)
{
    QString line = paramLineOpening(comment);
    for (int k = 0; k < kParamCount; ++k)
        line += paramLinePiece(k, values[k]);
    return line;
}

qsizetype keyPosition(const QString &row, int k)
{
    return row.indexOf(paramKey(k)) + 1;
}

std::optional<QString> cutParamValue(const QString &row, int k)
{
    const qsizetype key = keyPosition(row, k);
    if (key == 0)
        return std::nullopt;
    const qsizetype next = keyPosition(row, k + 1);
    const qsizetype start = key + 3;
    const qsizetype length = next - start;
    if (length < 0)
        return std::nullopt;
    return row.mid(start - 1, length);
}

std::optional<QString> loadParamValue(const QString &row, int k)
{
    std::optional<QString> value = cutParamValue(row, k);
    if (value && k + 1 < kParamCount && value->endsWith(u','))
        value->chop(1);
    return value;
}

std::optional<ParamValues> loadParamLine(const QString &row)
{
    ParamValues values;
    for (int k = 0; k < kParamCount; ++k) {
        std::optional<QString> v = loadParamValue(row, k);
        if (!v)
            return std::nullopt;
        values[k] = *v;
    }
    return values;
}

bool containsParamKey(const QString &text)
{
    for (int k = 0; k <= kEndMarker; ++k) {
        if (text.contains(paramKey(k)))
            return true;
    }
    return false;
}

bool isStorableText(const QString &text)
{
    return !text.contains(u'\r') && !text.contains(u'\n') && windows1250::canEncode(text);
}

} // namespace kdx
