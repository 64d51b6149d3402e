#include "firmware.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace kdx::sim {

namespace {

constexpr int MaxSteps = 9999;
constexpr qint64 MaxMagnitude = 1'000'000'000; // beyond every range taken here

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool isNumber(QByteArrayView text)
{
    if (text.startsWith('-'))
        text = text.sliced(1);
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

// A whole number within [min, max], or nothing.
std::optional<int> toNumber(QByteArrayView text, int min, int max)
{
    if (!isNumber(text))
        return std::nullopt;
    const bool negative = text.startsWith('-');
    qint64 value = 0;
    for (char c : negative ? text.sliced(1) : text) {
        value = value * 10 + (c - '0');
        if (value > MaxMagnitude)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < min || value > max)
        return std::nullopt;
    return int(value);
}

} // namespace

Firmware::Firmware(const Plant &plant) : m_axis(plant) {}

QByteArray Firmware::handleLine(QByteArrayView line)
{
    line = trimmed(line);
    const std::optional<int> prompt = std::exchange(m_prompt, std::nullopt);
    if (line.isEmpty())
        return Ack.toByteArray();
    if (prompt && isNumber(line)) {
        const auto value = toNumber(line, MinValue, MaxValue);
        if (!value)
            return Error.toByteArray();
        m_active[*prompt] = *value;
        return Ack.toByteArray();
    }
    return handleCommand(line);
}

QByteArray Firmware::rejectLine()
{
    m_prompt.reset();
    return Error.toByteArray();
}

QByteArray Firmware::handleCommand(QByteArrayView line)
{
    const char command = char(std::toupper(static_cast<unsigned char>(line.front())));
    const QByteArrayView rest = line.sliced(1);
    switch (command) {
    case 'P':
        if (rest.size() == 1 && rest[0] >= '0' && rest[0] < '0' + ParamCount)
            return readParameter(rest[0] - '0');
        if (rest == "9")
            return readPositionError();
        break;
    case 'M':
        if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '3') {
            m_axis.setMode(ServoModel::Mode(rest[0] - '0'));
            return Ack.toByteArray();
        }
        break;
    case 'S':
        if (const auto speed =
                toNumber(rest, -ServoModel::MaxSpeedCommand, ServoModel::MaxSpeedCommand)) {
            m_axis.setSpeed(*speed);
            return Ack.toByteArray();
        }
        break;
    case 'W':
        if (trimmed(rest) == "0") {
            m_stored = m_active;
            return Ack.toByteArray();
        }
        break;
    case '+':
    case '-':
        if (const auto steps = toNumber(rest, 1, MaxSteps);
            steps && m_axis.mode() == ServoModel::Mode::Step) {
            m_axis.moveSteps(command == '-' ? -*steps : *steps, m_active);
            return Ack.toByteArray();
        }
        break;
    default:
        break;
    }
    return Error.toByteArray();
}

QByteArray Firmware::readParameter(int n)
{
    m_prompt = n;
    return "P" + QByteArray::number(n) + ' ' + QByteArray::number(m_active[n]) + ':';
}

QByteArray Firmware::readPositionError()
{
    // The colon looks like a prompt, but the error cannot be set: the next
    // line is a command of its own (a step "-N" right after a poll moves).
    m_prompt.reset();
    return "P9 " + QByteArray::number(m_axis.positionError()) + ':';
}

void Firmware::advanceTo(qint64 ns)
{
    while (m_timeNs + TickNs <= ns) {
        m_timeNs += TickNs;
        if (!m_axis.tick(m_active)) {
            // Nothing moves any more: the remaining periods would change nothing.
            m_timeNs += (ns - m_timeNs) / TickNs * TickNs;
            break;
        }
    }
}

void Firmware::powerCycle()
{
    m_active = m_stored;
    m_axis = ServoModel(m_axis.plant());
    m_prompt.reset();
}

void Firmware::setPlant(const Plant &plant)
{
    m_axis = ServoModel(plant);
}

void Firmware::preset(int n, int value)
{
    m_active.at(n) = m_stored.at(n) = std::clamp(value, MinValue, MaxValue);
}

} // namespace kdx::sim
