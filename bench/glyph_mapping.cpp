// Throughput of the glyph mappings on a 64 MiB string of Kannada glyph codes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "kannada-tovi.h"

namespace {

constexpr size_t kSize = 64u << 20;

// A monolingual text: glyphs of consonants, vowel signs, subscripts and spaces.
const std::string &MonolingualText() {
    static const std::string text = [] {
        const unsigned char syllables[] = {80, 192, 81, 204, 195, 100, 201, 198, 163, 192, 170,
                                           192, 196, 32, 186, 192, 230, 118, 119, 195, 32, 174};
        std::string t(kSize, ' ');
        for (size_t i = 0; i < kSize; i++) t[i] = static_cast<char>(syllables[i % sizeof syllables]);
        return t;
    }();
    return text;
}

// Megabytes (10^6 bytes) converted per second of the timed loop.
void ReportMegabytes(benchmark::State &state, std::chrono::steady_clock::time_point start) {
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double rate = static_cast<double>(state.iterations()) * kSize / 1e6 / seconds;
    state.SetLabel(std::to_string(static_cast<long>(rate)) + " MB/s");
}

void MonolingualToBilingual(benchmark::State &state) {
    const std::string &src = MonolingualText();
    std::string dst(kSize + 1, '\0');
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        unsigned n = ToviMonolingual2BilingualGlyph(src.c_str(), &dst[0], kSize + 1);
        benchmark::DoNotOptimize(n);
    }
    ReportMegabytes(state, start);
}
BENCHMARK(MonolingualToBilingual)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BilingualToMonolingual(benchmark::State &state) {
    std::string src(kSize + 1, '\0');
    ToviMonolingual2BilingualGlyph(MonolingualText().c_str(), &src[0], kSize + 1);
    std::string dst(kSize + 1, '\0');
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        int n = ToviBilingual2MonolingualGlyph(src.c_str(), &dst[0], kSize + 1);
        benchmark::DoNotOptimize(n);
    }
    ReportMegabytes(state, start);
}
BENCHMARK(BilingualToMonolingual)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
