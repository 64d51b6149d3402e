#include "settingsfile.h"

#include <QCoreApplication>
#include <QSettings>

namespace kdx {

std::unique_ptr<QSettings> openSettings(const QString &settingsFile)
{
    if (!settingsFile.isEmpty())
        return std::make_unique<QSettings>(settingsFile, QSettings::IniFormat);
    const QString program = QCoreApplication::applicationName();
    return std::make_unique<QSettings>(program, program);
}

} // namespace kdx
