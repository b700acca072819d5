#include "startup.h"

#include "app_files.h"
#include "database.h"
#include "exchange_command.h"
#include "help_window.h"
#include "main_window.h"
#include "report_layout.h"
#include "splash_window.h"
#include "keyboard_bridge.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace Startup {
namespace {

// A message the user must see before the program ends: on the terminal always, and in a
// window when there is a screen to show one.
void reportFatal(const QString &message) {
    std::fprintf(stderr, "kelda-vasi: %s\n", qPrintable(message));
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) return;  // no window without a display
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

// Opens the help window as its menu entry does, prints the page it shows and the report layouts
// it reads; 0 when the help page and both layouts were found and read.
int probeShippedFiles(frmmain &main) {
    auto *help = qobject_cast<book10 *>(main.showWindow(QStringLiteral("book10")));
    const QString page = help ? help->WB->source().toLocalFile() : QString();
    int status = page.isEmpty() ? 1 : 0;
    std::printf("help: %s (%s)\n", qPrintable(page.isEmpty() ? QStringLiteral("not shown") : page),
                qPrintable(help ? help->WB->documentTitle() : QString()));
    for (const char *name : {"rpkeldalabel.rpt", "rpoffice.rpt"}) {
        QString error;
        const QString path = AppFiles::path(QLatin1String(name));
        if (!ReportLayout::load(path, &error)) status = 1;
        std::printf("layout: %s%s\n", qPrintable(path), qPrintable(error.isEmpty() ? error : QStringLiteral(": ") + error));
    }
    std::fflush(stdout);
    return status;
}

// The options of every start: with a window or without.
struct CommonOptions {
    QCommandLineOption database{QStringLiteral("database"),
                                QStringLiteral("Open the address book database at <path> (created when it does not "
                                               "exist), or the PostgreSQL database "
                                               "postgresql://[user[:password]@]host[:port]/dbname "
                                               "(postgresql:///dbname?host=/socket/folder for a local socket)."),
                                QStringLiteral("path"), Database::defaultPath()};
    QCommandLineOption exportTo{QStringLiteral("export"),
                                QStringLiteral("Write every address to FILE as vCard 4.0 or CSV, without a window, "
                                               "and end."),
                                QStringLiteral("vcard|csv")};
    QCommandLineOption importFrom{QStringLiteral("import"),
                                  QStringLiteral("Take the addresses of a vCard or CSV file in, without a window, "
                                                 "and end (status 2 when some records could not be taken)."),
                                  QStringLiteral("file")};

    void addTo(QCommandLineParser &parser) {
        parser.setApplicationDescription(QStringLiteral("Kelda Vasi, the Kannada address book."));
        parser.addHelpOption();
        parser.addOption({QStringLiteral("version"), QStringLiteral("Print the version and end.")});
        parser.addOption(database);
        parser.addOption(exportTo);
        parser.addOption(importFrom);
        parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The file --export writes."),
                                     QStringLiteral("[FILE]"));
    }

    // Opens the database the options name; false when it cannot (the message is out).
    bool openDatabase(const QCommandLineParser &parser) {
        const QString path = parser.value(database);
        if (!parser.isSet(database)) QDir().mkpath(QFileInfo(path).absolutePath());
        QString error;
        if (Database::open(path, &error)) return true;
        reportFatal(error);
        return false;
    }
};

bool hasOption(int argc, char *argv[], const char *name) {
    const size_t length = std::strlen(name);
    for (int i = 1; i < argc; i++)
        if (std::strncmp(argv[i], name, length) == 0 && (argv[i][length] == '\0' || argv[i][length] == '='))
            return true;
    return false;
}

// Export and import run without a window, and so without a display.
int runWithoutWindow(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelda-vasi"));
    QCommandLineParser parser;
    CommonOptions options;
    options.addTo(parser);
    parser.process(app);
    if (!options.openDatabase(parser)) return 1;
    const int status = parser.isSet(options.exportTo)
                           ? ExchangeCommand::exportTo(parser.value(options.exportTo), parser.positionalArguments().value(0))
                           : ExchangeCommand::importFrom(parser.value(options.importFrom));
    Database::close();
    return status;
}

}  // namespace

int run(int argc, char *argv[], Extension *extension) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    // The version is told without a display (the application object needs one).
    if (hasOption(argc, argv, "--version")) {
        std::printf("kelda-vasi %s\n", KELDA_VASI_VERSION);
        return 0;
    }
    if (hasOption(argc, argv, "--export") || hasOption(argc, argv, "--import")) return runWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelda-vasi"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelda Vasi"));
    // Every window's title bar carries it (none when the build had no icon to make).
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelda-vasi.png")));

    QCommandLineParser parser;
    CommonOptions options;
    options.addTo(parser);
    QCommandLineOption probeOption(QStringLiteral("startup-probe"),
                                   QStringLiteral("Dismiss the splash at once, print the milliseconds "
                                                  "from start to the main window shown, and end."));
    probeOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(probeOption);
    QCommandLineOption filesProbeOption(QStringLiteral("files-probe"),
                                        QStringLiteral("Dismiss the splash at once, open the help page, print "
                                                       "the page shown and the report layouts read, and end."));
    filesProbeOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(filesProbeOption);
    if (extension) extension->addOptions(parser);
    parser.process(app);

    if (!options.openDatabase(parser)) return 1;
    if (extension && !extension->prepare(parser)) {
        Database::close();
        return 1;
    }

    KeyboardBridge bridge;
    if (!bridge.start())
        std::fprintf(stderr, "kelda-vasi: Kannada typing is not available: the keyboard engine did not start\n");

    const bool filesProbe = parser.isSet(filesProbeOption);
    const bool probe = parser.isSet(probeOption) || filesProbe;
    std::unique_ptr<frmmain> mainWindow;
    frmSplash splash;
    QObject::connect(&splash, &frmSplash::dismissed, &app, [&] {
        mainWindow = std::make_unique<frmmain>();
        QObject::connect(mainWindow.get(), &frmmain::applicationEnding, &app, [] { QCoreApplication::exit(0); },
                         Qt::QueuedConnection);
        mainWindow->show();
        if (probe) {
            QTimer::singleShot(0, &app, [&] {
                if (filesProbe) {
                    QCoreApplication::exit(probeShippedFiles(*mainWindow));
                    return;
                }
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
