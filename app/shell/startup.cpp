#include "startup.h"

#include "database.h"
#include "main_window.h"
#include "splash_window.h"
#include "keyboard_bridge.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace Startup {
namespace {

// A message the user must see before the program ends: on the terminal always, and in a
// window when there is a screen to show one.
void reportFatal(const QString &message) {
    std::fprintf(stderr, "kelda-vasi: %s\n", qPrintable(message));
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QStringLiteral("Kelda Vasi"), message);
}

void clickOn(QWidget *w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

}  // namespace

int run(int argc, char *argv[], Extension *extension) {
    QElapsedTimer sinceStart;
    sinceStart.start();
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
    QCommandLineOption probeOption(QStringLiteral("startup-probe"),
                                   QStringLiteral("Dismiss the splash at once, print the milliseconds "
                                                  "from start to the main window shown, and end."));
    probeOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(probeOption);
    if (extension) extension->addOptions(parser);
    parser.process(app);

    const QString path = parser.value(databaseOption);
    if (!parser.isSet(databaseOption)) QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!Database::open(path, &error)) {
        reportFatal(error);
        return 1;
    }
    if (extension && !extension->prepare(parser)) {
        Database::close();
        return 1;
    }

    KeyboardBridge bridge;
    if (!bridge.start())
        std::fprintf(stderr, "kelda-vasi: Kannada typing is not available: the keyboard engine did not start\n");

    const bool probe = parser.isSet(probeOption);
    std::unique_ptr<frmmain> mainWindow;
    frmSplash splash;
    QObject::connect(&splash, &frmSplash::dismissed, &app, [&] {
        mainWindow = std::make_unique<frmmain>();
        QObject::connect(mainWindow.get(), &frmmain::applicationEnding, &app, [] { QCoreApplication::exit(0); },
                         Qt::QueuedConnection);
        mainWindow->show();
        if (probe) {
            QTimer::singleShot(0, &app, [&] {
                std::printf("main window shown after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
    });
    splash.show();
    splash.activateWindow();

    const bool takenOver = extension && extension->start(parser, &splash, [&] { return mainWindow.get(); });
    if (!takenOver && probe) QTimer::singleShot(0, &splash, [&] { clickOn(&splash); });

    const int status = app.exec();
    mainWindow.reset();
    bridge.stop();
    Database::close();
    return status;
}

}  // namespace Startup
