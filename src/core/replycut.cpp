#include "replycut.h"

#include "core/numberrules.h"

namespace kdx {

ParameterCut cutParameterReply(const QString &reply, QChar decimalSeparator)
{
    // 1-based positions, 0 when absent.
    const qsizetype p = reply.indexOf(u' ') + 1;
    const qsizetype q = reply.indexOf(u':') + 1;
    if (q - p == 0)
        return {true, QString()};

    ParameterCut cut{false, QString()};
    if (p >= 1 && q > p)
        cut.value = reply.mid(p - 1, q - p);
    if (const auto number = readNumber(reply, decimalSeparator))
        cut.value = wholeNumberText(*number);
    return cut;
}

ParameterCut cutParameterReply(const QString &reply)
{
    return cutParameterReply(reply, localeDecimalSeparator());
}

std::optional<qint16> cutPositionReply(const QString &reply, QChar decimalSeparator)
{
    const qsizetype q = reply.indexOf(u':') + 1;
    if (q < 4)
        return std::nullopt;
    return toInt16(reply.mid(2, q - 3), decimalSeparator);
}

std::optional<qint16> cutPositionReply(const QString &reply)
{
    return cutPositionReply(reply, localeDecimalSeparator());
}

QString replyText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace kdx
