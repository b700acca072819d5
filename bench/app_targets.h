// A reporter for the address book's benchmarks that tells for each run whether it met its
// target.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

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
                std::snprintf(line, sizeof line, "  %-36s %9.3f ms (target under %g ms): %s\n", name.c_str(), ms, target,
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
