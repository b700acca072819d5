// The address book's start and its sort keys.
//
// StartToMainWindow runs kelda-vasi on a new database with the splash dismissed at once and
// reports the time from the program's start to its main window shown (target: under 1 s).
// SortKey reports the time to make the sort column of one name (target: under 5 us).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <vector>

#include "shared_module.h"

#include "app_targets.h"

namespace {

void StartToMainWindow(benchmark::State &state) {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("WAYLAND_DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TOVI_DESKTOP"), QStringLiteral("kelda-bench"));
    int run = 0;
    for (auto _ : state) {
        QProcess p;
        p.setProcessEnvironment(env);
        const QString db = dir.filePath(QStringLiteral("address-%1.sqlite").arg(run++));
        // From the moment the program is started (loading it and its libraries included) to
        // the line it prints once the main window is shown.
        QElapsedTimer clock;
        clock.start();
        p.start(QStringLiteral(KELDA_VASI_BINARY), {QStringLiteral("--startup-probe"), QStringLiteral("--database"), db});
        QByteArray out;
        while (!out.contains("main window shown") && p.waitForReadyRead(30000)) out += p.readAllStandardOutput();
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (!out.contains("main window shown") || !p.waitForFinished(30000) || p.exitCode() != 0) {
            state.SkipWithError("kelda-vasi did not show its main window");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(StartToMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Names as people type them: a few syllables, conjuncts, vowel signs, now and then a blank.
std::vector<QString> sampleNames() {
    const char *const parts[] = {"P\xC0", "\xA3\xC0\xDF", "q\xC0", "\x51", "\xB8\xC0j", "\xBA\xCBz\xC0\xC4",
                                 "v\xC1", "\xAE\xC6\xE8", "\xAB\xC3", "\xB9z\xC0\xDD", " ", "\xAA\xC0\xC4"};
    std::vector<QString> names;
    unsigned seed = 7;
    for (int i = 0; i < 1000; ++i) {
        QString name;
        const int syllables = 3 + static_cast<int>(seed % 6);
        for (int s = 0; s < syllables; ++s) {
            seed = seed * 1103515245u + 12345u;
            name += QString::fromLatin1(parts[(seed >> 16) % (sizeof parts / sizeof parts[0])]);
        }
        names.push_back(name);
    }
    return names;
}

void SortKey(benchmark::State &state) {
    const std::vector<QString> names = sampleNames();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ModDeclare::SortKey(names[i]));
        if (++i == names.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SortKey)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter({{"StartToMainWindow", 1000}, {"SortKey", 0.005}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTargets();
    benchmark::Shutdown();
    return 0;
}
