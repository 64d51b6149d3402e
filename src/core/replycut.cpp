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

namespace {

// The text from the last "word " that a colon follows, or from the last
// "word " when none is complete yet; nothing when the word is missing.
std::optional<QString> answerTo(const QString &reply, const QString &word)
{
    const QString mark = word + u' ';
    // The word holds no colon: the last one before the last colon is the
    // last answer that has come in whole.
    const qsizetype colon = reply.lastIndexOf(u':');
    qsizetype at = colon >= 0 ? reply.lastIndexOf(mark, colon) : -1;
    if (at < 0)
        at = reply.lastIndexOf(mark);
    if (at < 0)
        return std::nullopt;
    return reply.mid(at);
}

} // namespace

ParameterAnswer cutParameterAnswer(const QString &reply, int n, QChar decimalSeparator)
{
    if (!reply.contains(u' ') && !reply.contains(u':'))
        return {ParameterAnswer::Kind::Resend, QString()};
    const auto answer = answerTo(reply, u'P' + QString::number(n));
    if (!answer)
        return {ParameterAnswer::Kind::Foreign, QString()};
    return {ParameterAnswer::Kind::Value, cutParameterReply(*answer, decimalSeparator).value};
}

ParameterAnswer cutParameterAnswer(const QString &reply, int n)
{
    return cutParameterAnswer(reply, n, localeDecimalSeparator());
}

std::optional<qint16> cutPositionAnswer(const QString &reply, QChar decimalSeparator)
{
    const auto answer = answerTo(reply, QStringLiteral("P9"));
    return answer ? cutPositionReply(*answer, decimalSeparator) : std::nullopt;
}

std::optional<qint16> cutPositionAnswer(const QString &reply)
{
    return cutPositionAnswer(reply, localeDecimalSeparator());
}

QString replyText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace kdx
