#include "commands.h"

namespace kdx::cmd {

namespace {

QByteArray line(const QByteArray &text)
{
    return text + kCR;
}

// Values come from boxes that the operator may have typed into; whatever
// passed their checks is plain ASCII. Anything else is sent byte for byte as
// Latin-1 so that nothing is silently dropped.
QByteArray ascii(const QString &text)
{
    return text.toLatin1();
}

} // namespace

QByteArray readParameter(int n)
{
    return line("P" + QByteArray::number(n));
}

QByteArray positionPoll()
{
    return line("P9");
}

QByteArray bareReturn()
{
    return QByteArray(1, kCR);
}

QByteArray newValue(const QString &value)
{
    return line(ascii(value));
}

QByteArray saveValue(const QString &value)
{
    return line(ascii(value)) + line("W 0");
}

QByteArray voltageRun()
{
    return line("m1");
}

QByteArray pidRun()
{
    return line("m2");
}

QByteArray stepMode()
{
    return line("m3");
}

QByteArray speed(const QString &speedText)
{
    return line("S" + ascii(speedText));
}

QByteArray stop()
{
    return line("S0");
}

QByteArray step(char sign, const QString &count)
{
    return line(QByteArray(1, sign) + ascii(count));
}

} // namespace kdx::cmd
