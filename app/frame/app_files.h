// Where the files that ship with the program lie: the help pages (Help/) and the report layouts
// (*.rpt). Every lookup of them goes through here.
#pragma once

#include <QString>

namespace AppFiles {

// The path of a shipped file, given relative to the program's folder ("Help/index.htm").
QString path(const QString &relative);

}  // namespace AppFiles
