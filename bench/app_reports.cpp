// The browse window and the reports over a big address book, generated here.
//
// BrowseGridAllRecords: the browse window lists all of 30,000 addresses in its grid (the query,
// the category names, the grid filled; target under 300 ms).
// LabelsToPdf: the reports window copies 10,000 addresses into the report table, with its
// progress bar advancing by one per row, and prints them as labels into a PDF file (target
// under 10 s).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProgressBar>
#include <QTemporaryDir>

#include "browse_window.h"
#include "reports_window.h"
#include "database.h"
#include "flex_grid.h"
#include "shared_module.h"
#include "report_control.h"
#include "sample_addresses.h"

#include "app_targets.h"

namespace {

QTemporaryDir &folder() {
    static QTemporaryDir dir;
    return dir;
}

// An address book of that many addresses, made on first use and opened as the program's
// database.
bool openBook(int addresses) {
    const QString path = folder().filePath(QStringLiteral("book-%1.sqlite").arg(addresses));
    const bool made = QFile::exists(path);
    QString error;
    if (!Database::open(path, &error)) return false;
    return made || SampleAddresses::fill(Database::connection(), addresses, &error);
}

void BrowseGridAllRecords(benchmark::State &state) {
    if (!openBook(30000)) return state.SkipWithError("the address book could not be made");
    book7 browse;
    browse.show();
    for (auto _ : state) {
        browse.cmdview_Click();
        QApplication::processEvents();
    }
    state.counters["rows"] = browse.Mg->Rows() - 1;
    if (browse.Mg->Rows() - 1 != 30000) state.SkipWithError("the grid does not hold every address");
}
BENCHMARK(BrowseGridAllRecords)->Unit(benchmark::kMillisecond)->Iterations(5);

void LabelsToPdf(benchmark::State &state) {
    if (!openBook(10000)) return state.SkipWithError("the address book could not be made");
    ModDeclare::ReportMode = 50;
    book9 reports;
    reports.Crrp->destination = ReportControl::Destination::File;
    reports.Crrp->PrintFileName = folder().filePath(QStringLiteral("labels.pdf"));
    reports.show();
    int steps = 0;
    QObject::connect(reports.PB, &QProgressBar::valueChanged, [&steps](int) { ++steps; });
    for (auto _ : state) {
        steps = 0;
        reports.cmdreport_Click();
    }
    state.counters["rows"] = reports.rowsCopied();
    state.counters["progress_steps"] = steps;
    state.counters["pages"] = reports.Crrp->pages();
    if (reports.rowsCopied() != 10000 || reports.Crrp->pages() != (10000 + 20) / 21)
        state.SkipWithError("not every address was printed");
}
BENCHMARK(LabelsToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TOVI_DESKTOP")) qputenv("TOVI_DESKTOP", "kelda-bench-reports");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter({{"BrowseGridAllRecords", 300}, {"LabelsToPdf", 10000}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTargets();
    benchmark::Shutdown();
    Database::close();
    return 0;
}
