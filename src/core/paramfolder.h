#pragma once

#include <QString>

namespace kdx {

// Where KDXparam.txt lives: beside the program when that folder can be
// written (a portable copy, the build tree); an installed program keeps it
// in the user's own data folder. A program installed under /usr or /opt is
// installed even for root, who could write beside it: the list never lands
// among the system's programs.
QString paramFolderFor(const QString &programFolder, bool programFolderWritable,
                       const QString &userDataFolder);

} // namespace kdx
