#include "app_files.h"

#include <QCoreApplication>
#include <QDir>

namespace AppFiles {

// An installed program finds them in its data folder (KELDA_VASI_DATA_DIR, relative to the
// installed program: bin/ beside share/kelda-vasi/); in the build tree they lie beside it.
QString path(const QString &relative) {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QDir installed(QDir::cleanPath(programFolder.filePath(QStringLiteral(KELDA_VASI_DATA_DIR))));
    return (installed.exists() ? installed : programFolder).filePath(relative);
}

}  // namespace AppFiles
