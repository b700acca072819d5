#include "app_files.h"

#include <QCoreApplication>
#include <QDir>

namespace AppFiles {

// They lie beside the program.
QString path(const QString &relative) { return QDir(QCoreApplication::applicationDirPath()).filePath(relative); }

}  // namespace AppFiles
