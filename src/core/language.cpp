#include "language.h"

#include "settingsfile.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>

namespace kdx {

namespace {

constexpr QLatin1StringView kKey("language/choice");
// Built from translations/ and kept inside the program.
constexpr QLatin1StringView kEnglishTranslation(":/i18n/kdxterminal_en.qm");

Language g_inUse = Language::Hungarian;

QTranslator *installedTranslator()
{
    static QTranslator translator;
    return &translator;
}

} // namespace

QString languageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("hu");
}

std::optional<Language> languageFromCode(QStringView code)
{
    if (code == u"hu")
        return Language::Hungarian;
    if (code == u"en")
        return Language::English;
    return std::nullopt;
}

QString languageName(Language language)
{
    return language == Language::English ? QStringLiteral("English") : QStringLiteral("Magyar");
}

bool useLanguage(Language language)
{
    QTranslator *translator = installedTranslator();
    QCoreApplication::removeTranslator(translator);
    g_inUse = Language::Hungarian;
    if (language == Language::Hungarian)
        return true;
    if (!translator->load(QString(kEnglishTranslation)) ||
        !QCoreApplication::installTranslator(translator))
        return false;
    g_inUse = language;
    return true;
}

Language languageInUse()
{
    return g_inUse;
}

LanguageMemory::LanguageMemory(const QString &settingsFile) : m_settings(openSettings(settingsFile))
{
}

LanguageMemory::~LanguageMemory() = default;

std::optional<Language> LanguageMemory::remembered() const
{
    return languageFromCode(m_settings->value(kKey).toString());
}

Language LanguageMemory::forThisRun(const std::optional<Language> &commandLine) const
{
    if (commandLine)
        return *commandLine;
    return remembered().value_or(Language::Hungarian);
}

void LanguageMemory::remember(Language language)
{
    m_settings->setValue(kKey, languageCode(language));
    m_settings->sync();
}

} // namespace kdx
