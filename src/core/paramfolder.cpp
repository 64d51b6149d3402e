#include "paramfolder.h"

#include <QDir>

namespace kdx {

QString paramFolderFor(const QString &programFolder, bool programFolderWritable,
                       const QString &userDataFolder)
{
#ifdef Q_OS_UNIX
    const QString folder = QDir::cleanPath(programFolder) + u'/';
    const bool installed = folder.startsWith(QLatin1String("/usr/")) ||
                           folder.startsWith(QLatin1String("/opt/")) ||
                           folder == QLatin1String("/bin/") || folder == QLatin1String("/sbin/");
#else
    const bool installed = false;
#endif
    return programFolderWritable && !installed ? programFolder : userDataFolder;
}

} // namespace kdx
