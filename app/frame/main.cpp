// Kelda Vasi: the Kannada address book.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>

#include <cstdio>

#include "database.h"

namespace {

// A message the user must see before the program ends: on the terminal always, and in a
// window when there is a screen to show one.
void reportFatal(const QString &message) {
    std::fprintf(stderr, "kelda-vasi: %s\n", qPrintable(message));
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QStringLiteral("Kelda Vasi"), message);
}

}  // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelda-vasi"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelda Vasi"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kelda Vasi, the Kannada address book."));
    parser.addHelpOption();
    QCommandLineOption databaseOption(QStringLiteral("database"),
                                      QStringLiteral("Open the address book database at <path> "
                                                     "(created when it does not exist)."),
                                      QStringLiteral("path"), Database::defaultPath());
    parser.addOption(databaseOption);
    parser.process(app);

    const QString path = parser.value(databaseOption);
    if (!parser.isSet(databaseOption)) QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!Database::open(path, &error)) {
        reportFatal(error);
        return 1;
    }
    Database::close();
    return 0;
}
