// Export and import of 10,000 addresses with every box and reference filled (target: each under
// 5 s), in a SQLite file and on a PostgreSQL server (a throwaway cluster of the benchmark's own).
//
// Export/vCard, Export/CSV: the whole address book written as a file's contents.
// Import/vCard, Import/CSV: that file taken into an empty address book in one transaction, the
// reference lists made along the way.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "address_export.h"
#include "address_import.h"
#include "app_engines.h"
#include "database.h"
#include "exchange_samples.h"

namespace {

constexpr int kAddresses = 10000;

// Each import goes into a database of its own.
std::function<QString()> freshDatabase;
QByteArray files[2];

void Export(benchmark::State &state) {
    const ExchangeFormat format = static_cast<ExchangeFormat>(state.range(0));
    AddressExport out(Database::connection());
    for (auto _ : state) {
        const std::optional<QByteArray> bytes = out.write(format);
        if (!bytes || out.written() != kAddresses) return state.SkipWithError("the export failed");
    }
    state.counters["addresses"] = out.written();
}

void Import(benchmark::State &state) {
    const QByteArray &bytes = files[state.range(0)];
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString into = freshDatabase();
        QString error;
        if (!Database::open(into, &error)) return state.SkipWithError(error.toStdString().c_str());
        state.ResumeTiming();
        AddressImport in(Database::connection());
        const std::optional<ImportPlan> plan = in.run(AddressImport::readBytes(bytes));
        if (!plan) return state.SkipWithError(in.lastError().toStdString().c_str());
        added = plan->added;
    }
    state.counters["addresses"] = added;
    if (added != kAddresses) state.SkipWithError("not every address was taken");
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter({{"Export/", 5000}, {"Import/", 5000}});
    QTemporaryDir dir;
    BenchCluster cluster;
    for (const char *engine : {"SQLite", "PostgreSQL"}) {
        const bool server = std::string(engine) == "PostgreSQL";
        if (server && !cluster.started()) continue;
        int made = 0;
        freshDatabase = [&] {
            const QString name = QStringLiteral("book%1").arg(++made);
            return server ? cluster.address(name) : dir.filePath(name + QStringLiteral(".sqlite"));
        };
        QString error;
        if (!Database::open(freshDatabase(), &error) ||
            !ExchangeSamples::fill(Database::connection(), kAddresses, &error)) {
            std::fprintf(stderr, "%s: %s\n", engine, qPrintable(error));
            continue;
        }
        // The files the imports take.
        for (ExchangeFormat format : {ExchangeFormat::VCard, ExchangeFormat::Csv})
            files[static_cast<int>(format)] = AddressExport(Database::connection()).write(format).value_or(QByteArray());
        for (const char *what : {"Export/", "Import/"}) {
            for (const auto &[format, name] : {std::pair{ExchangeFormat::VCard, "vCard"}, std::pair{ExchangeFormat::Csv, "CSV"}})
                benchmark::RegisterBenchmark((std::string(what) + name + "/" + engine).c_str(),
                                             what[0] == 'E' ? Export : Import)
                    ->Arg(static_cast<int>(format))
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(1);
        }
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::ClearRegisteredBenchmarks();
        Database::close();
    }
    reporter.printTargets();
    benchmark::Shutdown();
    return 0;
}
