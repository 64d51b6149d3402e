#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace kdx {

// The user's settings of the program (~/.config/kdxterminal/kdxterminal.conf
// on Linux), or an INI file of the given path.
std::unique_ptr<QSettings> openSettings(const QString &settingsFile = QString());

} // namespace kdx
