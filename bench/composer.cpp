// The cost of one key through a composer of kannada-tovi-composer.h, as an input-method
// engine feeds it: a long phonetic text, word by word, each word ended by a reset (the space
// is the host's). Target: under 1 us a key with UTF-8 output, and no allocation for a key:
// every allocation of the process is counted while keys are fed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "kannada-tovi-composer.h"

#include "counted_allocations.h"

namespace {

constexpr double kTargetNs = 1000;

const std::string &Text() {
    static const std::string text = [] {
        const char *words[] = {"namaskAra", "kannaDa", "kfkfy", "viSvavidyAlaya", "prapanca", "sanskfkqta", "jXfka",
                               "rXi", "kfxO", "bengaLUru", "karnATaka", "samskqti", "kRX", "PXi", "vidyArthi",
                               "akSara", "pustaka", "maisUru", "tfrjfYa", "dharma", "kannaDadalli\b\bli"};
        std::string t;
        for (const char *w : words) t += std::string(w) + " ";
        return t;
    }();
    return text;
}

double utf8Ns = -1;
long utf8Keys = 0, utf8Allocations = 0;

void OneKey(benchmark::State &state, int output) {
    ToviComposer *c = ToviComposerNew(output, 0);
    ToviComposerResult r;
    const std::string &text = Text();
    size_t next = 0;
    long keys = 0;
    allocations = 0;
    counting = true;
    for (auto _ : state) {
        char k = text[next];
        if (++next == text.size()) next = 0;
        if (k == ' ') ToviComposerReset(c);
        else benchmark::DoNotOptimize(ToviComposerFeed(c, k == '\b' ? 8 : k, &r));
        keys++;
    }
    counting = false;
    ToviComposerFree(c);
    state.counters["allocations_per_key"] = keys ? static_cast<double>(allocations) / keys : 0;
    if (output == TOVI_COMPOSER_UTF8) {
        utf8Keys = keys;
        utf8Allocations = allocations;
    }
}

void KeyThroughAComposerWithUtf8Output(benchmark::State &state) { OneKey(state, TOVI_COMPOSER_UTF8); }
BENCHMARK(KeyThroughAComposerWithUtf8Output)->MinTime(1.0);

void KeyThroughAComposerWithGlyphOutput(benchmark::State &state) { OneKey(state, TOVI_COMPOSER_MONOLINGUAL); }
BENCHMARK(KeyThroughAComposerWithGlyphOutput)->MinTime(0.5);

// Takes the figure of the UTF-8 run from the benchmark's own report.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs)
            if (run.benchmark_name().find("Utf8") != std::string::npos) utf8Ns = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (utf8Ns >= 0)
        std::printf("\ncomposer: one key through a composer with UTF-8 output: %.0f ns (target under %.0f ns): %s; "
                    "allocations per key: %ld in %ld keys (target 0): %s\n",
                    utf8Ns, kTargetNs, utf8Ns < kTargetNs ? "met" : "NOT MET", utf8Allocations, utf8Keys,
                    utf8Allocations == 0 ? "met" : "NOT MET");
    return 0;
}
