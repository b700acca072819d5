// The program's start: the command line, the database, the keyboard engine, the splash and the
// main window. A build of the program may add to it (the screenshot tour does) through an
// extension.
#pragma once

#include <functional>

class QCommandLineParser;
class frmSplash;
class frmmain;

namespace Startup {

class Extension {
public:
    virtual ~Extension() = default;
    // Adds the extension's own options.
    virtual void addOptions(QCommandLineParser &parser) = 0;
    // Runs once the database is open, before any window shows; false ends the program with
    // status 1 (the extension has said why).
    virtual bool prepare(const QCommandLineParser &parser) = 0;
    // Runs once the splash shows; true when the extension takes over from there (it ends the
    // program itself). mainWindow gives the main window once the splash is dismissed.
    virtual bool start(const QCommandLineParser &parser, frmSplash *splash,
                       std::function<frmmain *()> mainWindow) = 0;
};

// Runs the program; returns its exit status.
int run(int argc, char *argv[], Extension *extension = nullptr);

}  // namespace Startup
