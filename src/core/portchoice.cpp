#include "portchoice.h"

#include "settingsfile.h"

#include <QSettings>
#include <QUrl>

namespace kdx {

namespace {

constexpr QLatin1StringView kSerial("serial:");
constexpr QLatin1StringView kSimulator("simulator");
constexpr QLatin1StringView kKey("port/choice");
constexpr QLatin1StringView kAxisNames("axisNames/");

// A line's own key: its text with the characters that settings keys use for
// themselves written as %XX.
QString axisKey(const PortChoice &choice)
{
    return kAxisNames + QString::fromLatin1(QUrl::toPercentEncoding(choice.toText()));
}

} // namespace

QString PortChoice::toText() const
{
    if (kind == Kind::Serial)
        return kSerial + name;
    return name.isEmpty() ? QString(kSimulator) : kSimulator + u':' + name;
}

std::optional<PortChoice> PortChoice::fromText(const QString &text)
{
    if (text.startsWith(kSerial))
        return serial(text.mid(kSerial.size()));
    if (text == kSimulator)
        return simulator();
    if (text.startsWith(kSimulator + u':') && text.size() > kSimulator.size() + 1)
        return simulator(text.mid(kSimulator.size() + 1));
    return std::nullopt;
}

PortMemory::PortMemory(const QString &settingsFile) : m_settings(openSettings(settingsFile)) {}

PortMemory::~PortMemory() = default;

std::optional<PortChoice> PortMemory::remembered() const
{
    return PortChoice::fromText(m_settings->value(kKey).toString());
}

PortChoice PortMemory::forThisRun(const std::optional<PortChoice> &commandLine) const
{
    if (commandLine)
        return *commandLine;
    return remembered().value_or(PortChoice::serial());
}

void PortMemory::remember(const PortChoice &choice)
{
    m_settings->setValue(kKey, choice.toText());
    m_settings->sync();
}

} // namespace kdx

namespace kdx {

QString PortMemory::axisName(const PortChoice &choice) const
{
    return m_settings->value(axisKey(choice)).toString();
}

void PortMemory::rememberAxisName(const PortChoice &choice, const QString &name)
{
    if (name.isEmpty())
        m_settings->remove(axisKey(choice));
    else
        m_settings->setValue(axisKey(choice), name);
    m_settings->sync();
}

} // namespace kdx
