#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

class QSettings;

namespace kdx {

// The language the window speaks. Hungarian is the program's own: its texts
// are written in Hungarian and English is their translation.
enum class Language { Hungarian, English };

// "hu", "en".
QString languageCode(Language language);
// Nothing for a code that names no language of the program.
std::optional<Language> languageFromCode(QStringView code);
// The language's own name ("Magyar", "English"), the same in every language.
QString languageName(Language language);

// Puts the language's texts in force for the whole program (before the
// first window is built). False when its translation could not be loaded:
// the program then speaks Hungarian.
bool useLanguage(Language language);
// The language in force now.
Language languageInUse();

// The language the operator chose last time, kept in the user's settings
// beside the port; Hungarian when none was chosen, whatever the system's
// language. The command line decides for one run without touching it.
class LanguageMemory {
public:
    // The program's own settings, or an INI file of the given path.
    explicit LanguageMemory(const QString &settingsFile = QString());
    ~LanguageMemory();

    std::optional<Language> remembered() const;
    Language forThisRun(const std::optional<Language> &commandLine) const;
    // Stored at once.
    void remember(Language language);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace kdx
