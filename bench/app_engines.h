// What the address book's benchmarks on both engines share: a throwaway PostgreSQL cluster of
// their own beside the SQLite files, and a reporter that tells for each run whether it met its
// target.
#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

// The cluster the tests use, in a folder of this run's own and saving to disk as a server
// does; stopped when it goes.
class BenchCluster {
public:
    BenchCluster() : dir_(QStringLiteral("/tmp/kelda-pg-bench-%1").arg(QCoreApplication::applicationPid())) {
        QProcess start;
        start.start(QStringLiteral(KELDA_CLUSTER_SCRIPT), {QStringLiteral("start"), dir_, QStringLiteral("durable")});
        started_ = start.waitForFinished(120000) && start.exitCode() == 0;
        if (!started_) std::fprintf(stderr, "PostgreSQL: %s\n", start.readAllStandardError().constData());
    }
    ~BenchCluster() { QProcess::execute(QStringLiteral(KELDA_CLUSTER_SCRIPT), {QStringLiteral("stop"), dir_}); }
    bool started() const { return started_; }
    // A database of its own in the cluster: the schema must be new to this run.
    QString address(const QString &schema) const {
        QProcess::execute(QStringLiteral("psql"), {QStringLiteral("-qh"), dir_, QStringLiteral("-U"), QStringLiteral("kelda"),
                                                   QStringLiteral("-c"), QStringLiteral("CREATE SCHEMA ") + schema,
                                                   QStringLiteral("kelda")});
        return QStringLiteral("postgresql:///kelda?host=%1&user=kelda&options=-c%20search_path%3D%2").arg(dir_, schema);
    }

private:
    QString dir_;
    bool started_ = false;
};

// The console's report, then for each benchmark with a target (by the start of its name):
// its mean time against the target, met or NOT MET.
class TargetReporter : public benchmark::ConsoleReporter {
public:
    explicit TargetReporter(std::map<std::string, double> targetsMs)
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_Color : OO_None), targets_(std::move(targetsMs)) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            for (const auto &[prefix, target] : targets_) {
                if (name.rfind(prefix, 0) != 0) continue;
                const double ms = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1000.0;
                char line[256];
                std::snprintf(line, sizeof line, "  %-36s %9.2f ms (target under %.0f ms): %s\n", name.c_str(), ms, target,
                              ms < target ? "met" : "NOT MET");
                lines_ += line;
            }
        }
    }
    // Each benchmark against its target, once every run is done.
    void printTargets() const { std::printf("\nTargets (this run):\n%s", lines_.c_str()); }

private:
    std::map<std::string, double> targets_;
    std::string lines_;
};
