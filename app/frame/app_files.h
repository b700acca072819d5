// Where the files that ship with the program lie: the help pages (Help/) and the report layouts
// (*.rpt). Every lookup of them goes through here.
#pragma once

#include <QString>

namespace AppFiles {

// The path of a shipped file, given relative to the folder that holds them ("Help/index.htm"):
// the installed data folder (share/kelda-vasi) or, in the build tree, the program's folder.
QString path(const QString &relative);

}  // namespace AppFiles
