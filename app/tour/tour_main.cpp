// kelda-vasi-tour: the address book with its screenshot tour (--screenshots FOLDER), for
// `make screenshots`. The program that ships has no tour and no sample data.
#include "database.h"
#include "screenshot_tour.h"
#include "startup.h"

#include <QCommandLineParser>

#include <cstdio>
#include <memory>

namespace {

class TourExtension : public Startup::Extension {
public:
    void addOptions(QCommandLineParser &parser) override { parser.addOption(option_); }

    // The tour adds sample entries: it never touches an address book that holds anything.
    bool prepare(const QCommandLineParser &parser) override {
        if (!parser.isSet(option_) || !Database::holdsAnything()) return true;
        std::fprintf(stderr, "kelda-vasi: --screenshots needs a new or empty database; %s holds entries\n",
                     qPrintable(parser.value(QStringLiteral("database"))));
        return false;
    }

    bool start(const QCommandLineParser &parser, frmSplash *splash, std::function<frmmain *()> mainWindow) override {
        if (!parser.isSet(option_)) return false;
        tour_ = std::make_unique<ScreenshotTour>(parser.value(option_), splash, std::move(mainWindow));
        tour_->start();
        return true;
    }

private:
    QCommandLineOption option_{QStringLiteral("screenshots"),
                               QStringLiteral("Walk through the windows, save a picture of each into <folder> "
                                              "and end."),
                               QStringLiteral("folder")};
    std::unique_ptr<ScreenshotTour> tour_;
};

}  // namespace

int main(int argc, char *argv[]) {
    TourExtension tour;
    return Startup::run(argc, argv, &tour);
}
