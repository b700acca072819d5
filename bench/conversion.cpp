// Throughput of the converters on one Kannada text, beside ICU's ISCII converter on the same
// text in ISCII. "input MB/s" counts the bytes each converter reads; "text MB/s" counts the
// glyph text the content started as, so the rows compare on the same text. Times are the
// converting thread's processor time (10^6 bytes a megabyte). At the end a line for each
// target says whether this run met it: glyph -> Unicode at least as fast as ICU's ISCII ->
// UTF-16 and ICU's ISCII -> UTF-8 on the same text, glyph -> KSCLP at least 50 MB/s.
#include <benchmark/benchmark.h>
#include <unicode/ucnv.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "kannada-tovi.h"

namespace {

constexpr size_t kTextSize = 8u << 20;

// Kannada words in glyph codes: the dictionary's when it is installed, else a built-in list,
// repeated with spaces to kTextSize bytes.
const std::string &GlyphText() {
    static const std::string text = [] {
        std::vector<std::string> words;
        if (FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r")) {
            char line[1024];
            while (words.size() < 20000 && std::fgets(line, sizeof line, pipe)) {
                std::string w(line);
                while (!w.empty() && (w.back() == '\n' || w.back() == '\r')) w.pop_back();
                if (!w.empty()) words.push_back(w);
            }
            pclose(pipe);
        }
        if (words.empty())
            words = {"ಕನ್ನಡ", "ಬೆಂಗಳೂರು", "ವಿದ್ಯಾರ್ಥಿ", "ಸ್ತ್ರೀ", "ಕ್ಷಮಿಸಿ", "ಜ್ಞಾನ", "ಮೈಸೂರು", "ಗೌರವ", "ಕರ್ನಾಟಕ", "ರಾಷ್ಟ್ರ"};
        std::string glyphs;
        char out[4096];
        while (glyphs.size() < kTextSize)
            for (const std::string &w : words) {
                int n = ToviUnicode2MonolingualGlyph(w.c_str(), out, sizeof out);
                if (n > 0) glyphs.append(out, n).push_back(' ');
                if (glyphs.size() >= kTextSize) break;
            }
        glyphs.resize(kTextSize);
        return glyphs;
    }();
    return text;
}

const std::string &IsciiText() {
    static const std::string iscii = [] {
        std::string glyphs = GlyphText();
        std::string out(3 * glyphs.size() + 1, '\0');
        int n = ToviMonolingualGlyph2ISCII(&glyphs[0], &out[0], static_cast<unsigned>(out.size()));
        out.resize(n > 0 ? n - 1 : 0);
        return out;
    }();
    return iscii;
}

// The thread's processor time: the machine may be shared, and a conversion is one thread.
double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

void Report(benchmark::State &state, double seconds, size_t input) {
    double runs = static_cast<double>(state.iterations());
    state.counters["input_MB/s"] = runs * input / 1e6 / seconds;
    state.counters["text_MB/s"] = runs * GlyphText().size() / 1e6 / seconds;
}

// Times `convert` alone; `prepare` (untimed) restores what a conversion changes in place.
template <typename Prepare, typename Convert>
void Measure(benchmark::State &state, size_t input, Prepare prepare, Convert convert) {
    double busy = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        double start = ThreadSeconds();
        benchmark::DoNotOptimize(convert());
        busy += ThreadSeconds() - start;
    }
    Report(state, busy, input);
}

void GlyphToIscii(benchmark::State &state) {
    std::string src, dst(3 * kTextSize + 1, '\0');
    Measure(state, kTextSize, [&] { src = GlyphText(); },
            [&] { return ToviMonolingualGlyph2ISCII(&src[0], &dst[0], static_cast<unsigned>(dst.size())); });
}
BENCHMARK(GlyphToIscii)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void IsciiToGlyph(benchmark::State &state) {
    const std::string &src = IsciiText();
    std::string dst(6 * src.size() + 1, '\0');
    Measure(state, src.size(), [] {},
            [&] { return ToviISCII2MonolingualGlyph(src.c_str(), &dst[0], static_cast<unsigned>(dst.size())); });
}
BENCHMARK(IsciiToGlyph)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void GlyphToKsclp(benchmark::State &state) {
    std::string src, dst(4 * kTextSize + 1, '\0');
    Measure(state, kTextSize, [&] { src = GlyphText(); },
            [&] { return ToviMonolingualGlyph2KSCLP(&src[0], &dst[0], static_cast<unsigned>(dst.size())); });
}
BENCHMARK(GlyphToKsclp)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Sort keys of names, one call per word, as the address book makes them.
void GlyphToKsclpPerName(benchmark::State &state) {
    std::vector<std::string> names;
    const std::string &text = GlyphText();
    for (size_t i = 0; i < text.size();) {
        size_t j = text.find(' ', i);
        if (j == std::string::npos) j = text.size();
        if (j > i) names.push_back(text.substr(i, j - i));
        i = j + 1;
    }
    std::vector<std::string> work;
    char key[1024];
    Measure(state, kTextSize, [&] { work = names; },
            [&] {
                int total = 0;
                for (std::string &n : work) total += ToviMonolingualGlyph2KSCLP(&n[0], key, sizeof key);
                return total;
            });
}
BENCHMARK(GlyphToKsclpPerName)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void GlyphToUnicode(benchmark::State &state) {
    const std::string &src = GlyphText();
    std::string dst(30 * kTextSize + 1, '\0');
    Measure(state, kTextSize, [] {},
            [&] { return ToviMonolingualGlyph2Unicode(src.c_str(), &dst[0], static_cast<unsigned>(dst.size())); });
}
BENCHMARK(GlyphToUnicode)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// ICU's converter into UTF-16, its own form (the cheapest way out of it).
void IcuIsciiToUnicode(benchmark::State &state) {
    const std::string &src = IsciiText();
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("ISCII,version=7", &status);
    if (U_FAILURE(status)) {
        state.SkipWithError("ICU has no ISCII converter");
        return;
    }
    std::vector<UChar> dst(2 * src.size() + 16);
    Measure(state, src.size(), [&] { ucnv_resetToUnicode(converter); },
            [&] {
                UErrorCode s = U_ZERO_ERROR;
                return ucnv_toUChars(converter, dst.data(), static_cast<int32_t>(dst.size()), src.data(),
                                     static_cast<int32_t>(src.size()), &s);
            });
    ucnv_close(converter);
}
BENCHMARK(IcuIsciiToUnicode)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// ICU into UTF-8, the form the bridge gives, through its pivot.
void IcuIsciiToUtf8(benchmark::State &state) {
    const std::string &src = IsciiText();
    UErrorCode status = U_ZERO_ERROR;
    UConverter *iscii = ucnv_open("ISCII,version=7", &status);
    UConverter *utf8 = ucnv_open("UTF-8", &status);
    if (U_FAILURE(status)) {
        state.SkipWithError("ICU has no ISCII or UTF-8 converter");
        return;
    }
    std::vector<char> dst(3 * src.size() + 16);
    Measure(state, src.size(), [&] { ucnv_resetToUnicode(iscii); },
            [&] {
                UErrorCode s = U_ZERO_ERROR;
                char *target = dst.data();
                const char *source = src.data();
                ucnv_convertEx(utf8, iscii, &target, dst.data() + dst.size(), &source, src.data() + src.size(),
                               nullptr, nullptr, nullptr, nullptr, true, true, &s);
                return target - dst.data();
            });
    ucnv_close(iscii);
    ucnv_close(utf8);
}
BENCHMARK(IcuIsciiToUtf8)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Shows the runs as the console reporter does and keeps the text MB/s of each benchmark.
class TargetReporter : public benchmark::ConsoleReporter {
public:
    TargetReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Color : OO_None) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            auto counter = run.counters.find("text_MB/s");
            if (counter != run.counters.end()) textRate[run.run_name.function_name].push_back(counter->second.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The median over the repetitions of a benchmark; 0 when it did not run.
    double TextRate(const std::string &name) const {
        auto found = textRate.find(name);
        if (found == textRate.end() || found->second.empty()) return 0;
        std::vector<double> rates = found->second;
        std::sort(rates.begin(), rates.end());
        return rates[rates.size() / 2];
    }

private:
    std::map<std::string, std::vector<double>> textRate;
};

void PrintTarget(const char *what, double rate, const char *against, double bound) {
    if (rate <= 0 || bound <= 0) {
        std::printf("  %-42s not measured in this run\n", what);
        return;
    }
    std::printf("  %-42s %7.1f MB/s against %s %.1f MB/s: %s\n", what, rate, against, bound,
                rate >= bound ? "met" : "NOT MET");
}

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    double unicode = reporter.TextRate("GlyphToUnicode");
    std::printf("\nTargets (text MB/s, this run):\n");
    PrintTarget("glyph -> Unicode >= ICU ISCII -> UTF-16", unicode, "ICU ISCII -> UTF-16",
                reporter.TextRate("IcuIsciiToUnicode"));
    PrintTarget("glyph -> Unicode >= ICU ISCII -> UTF-8", unicode, "ICU ISCII -> UTF-8",
                reporter.TextRate("IcuIsciiToUtf8"));
    PrintTarget("glyph -> KSCLP >= 50 MB/s", reporter.TextRate("GlyphToKsclp"), "the floor", 50);
    return 0;
}
