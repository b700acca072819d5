// The converters' speed, each direction beside its anchor measured in the same run on the same
// words: ICU's ISCII converter (ISCII,version=7) for the ISCII and Unicode directions, its
// Kannada collation for the sort keys, a 256-entry byte table for the glyph mappings. The text
// is the whole Kannada spelling dictionary (aspell-kn), every word once, separated by spaces,
// in each encoding. A time is the fastest of repeated runs, in the converting thread's
// processor time (the machine may be shared); MB/s counts the bytes a converter reads (10^6
// a megabyte); "x anchor" is the anchor's time over the converter's on the same words.
//
// Then: each direction on 1 KB, 64 KB, 1 MB and 64 MB of the same words and on pathological
// text (no spaces, one syllable run on: a run of repha glyphs, of halants and consonants), MB/s
// per size, linear when each size is at least a quarter as fast as the one before (quadratic
// work is 64 times slower) and none below an eighth of the fastest; and each direction on
// one line of 200 MB, with the memory it takes beyond its input and output (target: at most
// three times the input).
// Every row ends with met / NOT MET.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "kannada-tovi.h"

#include "counted_allocations.h"

namespace {

using Convert = std::function<size_t(char *src, size_t n, char *dst, size_t dstSize)>;

// ---- The texts ---------------------------------------------------------------------------

struct Texts {
    std::vector<std::string> words;  // UTF-8
    std::string utf8, mono, bilingual, iscii;
    std::vector<std::string> monoWords;
};

std::string Converted(int (*convert)(char *, char *, unsigned), std::string text, size_t most) {
    std::string out(most + 1, '\0');
    int n = convert(&text[0], &out[0], static_cast<unsigned>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    while (!out.empty() && out.back() == '\0') out.pop_back();  // the ISCII result counts its NUL
    return out;
}

int UnicodeToMono(char *s, char *d, unsigned n) { return ToviUnicode2MonolingualGlyph(s, d, n); }
int UnicodeToIscii(char *s, char *d, unsigned n) { return ToviUnicode2ISCII(s, d, n); }
int MonoToBilingual(char *s, char *d, unsigned n) { return static_cast<int>(ToviMonolingual2BilingualGlyph(s, d, n)); }

// The words of the dictionary that every encoding holds, each in every encoding (ISCII as the
// Unicode bridge gives it).
const Texts &Dictionary() {
    static const Texts texts = [] {
        Texts t;
        if (FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r")) {
            char line[1024];
            while (std::fgets(line, sizeof line, pipe)) {
                std::string w(line);
                while (!w.empty() && (w.back() == '\n' || w.back() == '\r')) w.pop_back();
                if (w.empty()) continue;
                std::string mono = Converted(UnicodeToMono, w, 4 * w.size());
                std::string iscii = Converted(UnicodeToIscii, w, 3 * w.size());
                if (mono.empty() || iscii.empty()) continue;
                t.words.push_back(w);
                t.monoWords.push_back(mono);
                for (std::string *text : {&t.utf8, &t.mono, &t.bilingual, &t.iscii}) {
                    const std::string &word = text == &t.utf8 ? w : text == &t.iscii ? iscii : mono;
                    *text += text == &t.bilingual ? Converted(MonoToBilingual, word, word.size()) : word;
                    *text += ' ';
                }
            }
            pclose(pipe);
        }
        return t;
    }();
    return texts;
}

// A text of about `size` bytes: words from all over `text` (every so many), or `text`
// repeated, cut after a space.
std::string OfSize(const std::string &text, size_t size) {
    std::string out;
    if (size < text.size()) {
        size_t stride = text.size() / size;
        for (size_t i = 0; i < text.size() && out.size() < size; i += stride) {
            size_t start = text.rfind(' ', i);
            start = start == std::string::npos ? 0 : start + 1;
            size_t end = text.find(' ', start);
            if (end == std::string::npos) break;
            out.append(text, start, end - start + 1);
            i = std::max(i, end);
        }
    }
    while (out.size() < size) out += text;
    size_t cut = out.rfind(' ', size);
    out.resize(cut != std::string::npos && cut > 0 ? cut + 1 : size);
    return out;
}

// ---- Timing ------------------------------------------------------------------------------

double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// The fastest of repeated runs of `convert` on `text` (a fresh copy each time), for
// about `budget` seconds and at least three runs.
double Fastest(const Convert &convert, const std::string &text, size_t room, double budget = 0.6) {
    // A short text is converted over and over within one timing (each time from a fresh copy,
    // which is timed too), so that a timing is long beside the clock's own cost.
    const size_t repeats = std::max<size_t>(1, (1u << 20) / std::max<size_t>(1, text.size()));
    std::string src, dst(room + 64, '\0');
    double best = 1e30, spent = 0;
    for (int runs = 0; runs < 3 || spent < budget; runs++) {
        src = text;
        double start = ThreadSeconds();
        size_t n = 0;
        for (size_t r = 0; r < repeats; r++) {
            if (r) std::memcpy(&src[0], text.data(), text.size());
            n = convert(&src[0], src.size(), &dst[0], dst.size());
        }
        double took = (ThreadSeconds() - start) / static_cast<double>(repeats);
        if (n == 0 && !text.empty()) return -1;
        best = std::min(best, took);
        spent += took * static_cast<double>(repeats);
        if (runs > 10000) break;
    }
    return best;
}

// ---- The converters and their anchors ----------------------------------------------------

Convert Export(int (*convert)(char *, char *, unsigned)) {
    return [convert](char *s, size_t, char *d, size_t size) {
        int n = convert(s, d, static_cast<unsigned>(size));
        return n > 0 ? static_cast<size_t>(n) : 0;
    };
}

// The anchor of the glyph mappings: one 256-entry table, byte for byte.
size_t ByteTable(char *s, size_t n, char *d, size_t) {
    static const auto table = [] {
        std::vector<unsigned char> t(256);
        for (int b = 0; b < 256; b++) t[b] = static_cast<unsigned char>(b ^ 0x5A);
        return t;
    }();
    const unsigned char *in = reinterpret_cast<const unsigned char *>(s);
    unsigned char *out = reinterpret_cast<unsigned char *>(d);
    for (size_t i = 0; i < n; i++) out[i] = table[in[i]];
    return n;
}

// ICU's ISCII converter: ISCII to UTF-16 and to UTF-8, UTF-8 to ISCII.
UConverter *Icu(const char *name) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *c = ucnv_open(name, &status);
    return U_FAILURE(status) ? nullptr : c;
}

size_t IcuIsciiToUtf16(char *s, size_t n, char *d, size_t size) {
    static UConverter *iscii = Icu("ISCII,version=7");
    ucnv_resetToUnicode(iscii);
    UErrorCode status = U_ZERO_ERROR;
    int32_t k = ucnv_toUChars(iscii, reinterpret_cast<UChar *>(d), static_cast<int32_t>(size / 2), s,
                              static_cast<int32_t>(n), &status);
    return U_FAILURE(status) ? 0 : static_cast<size_t>(k);
}

size_t IcuBetween(UConverter *to, UConverter *from, char *s, size_t n, char *d, size_t size) {
    ucnv_resetToUnicode(from);
    ucnv_resetFromUnicode(to);
    UErrorCode status = U_ZERO_ERROR;
    char *target = d;
    const char *source = s;
    ucnv_convertEx(to, from, &target, d + size, &source, s + n, nullptr, nullptr, nullptr, nullptr, true, true,
                   &status);
    return U_FAILURE(status) ? 0 : static_cast<size_t>(target - d);
}

size_t IcuIsciiToUtf8(char *s, size_t n, char *d, size_t size) {
    static UConverter *iscii = Icu("ISCII,version=7"), *utf8 = Icu("UTF-8");
    return IcuBetween(utf8, iscii, s, n, d, size);
}

size_t IcuUtf8ToIscii(char *s, size_t n, char *d, size_t size) {
    static UConverter *iscii = Icu("ISCII,version=7"), *utf8 = Icu("UTF-8");
    return IcuBetween(iscii, utf8, s, n, d, size);
}

// One key per word: the words of the text (space-separated) one by one.
template <typename Key>
size_t PerWord(char *s, size_t n, Key key) {
    size_t total = 0;
    for (size_t i = 0; i < n;) {
        size_t j = i;
        while (j < n && s[j] != ' ') j++;
        if (j > i) {
            char saved = s[j];
            s[j] = '\0';
            total += key(s + i, j - i);
            s[j] = saved;
        }
        i = j + 1;
    }
    return total;
}

size_t KsclpPerWord(char *s, size_t n, char *, size_t) {
    char key[1024];
    return PerWord(s, n, [&](char *word, size_t) {
        int k = ToviMonolingualGlyph2KSCLP(word, key, sizeof key);
        return k > 0 ? static_cast<size_t>(k) : 0;
    });
}

// ICU's Kannada collation key of each word (from its UTF-8).
size_t IcuSortKeyPerWord(char *s, size_t n, char *, size_t) {
    static UCollator *collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator *c = ucol_open("kn", &status);
        return U_FAILURE(status) ? nullptr : c;
    }();
    if (!collator) return 0;
    UChar word16[512];
    uint8_t key[2048];
    return PerWord(s, n, [&](char *word, size_t length) {
        UErrorCode status = U_ZERO_ERROR;
        int32_t k = 0;
        u_strFromUTF8(word16, 512, &k, word, static_cast<int32_t>(length), &status);
        return static_cast<size_t>(ucol_getSortKey(collator, word16, k, key, sizeof key));
    });
}

struct Anchor {
    const char *name;
    size_t (*convert)(char *, size_t, char *, size_t);
    const std::string Texts::*text;
    double target;  // the least anchor time over the converter's
};

struct Direction {
    const char *name;
    Convert convert;
    const std::string Texts::*text;
    double outputPerInput;  // room for the output, per input byte (more than the dictionary needs)
    std::vector<Anchor> anchors;
    double floor;  // the least MB/s, 0 for none
    const char *pathological;  // the kind of text of its pathological runs
};

std::vector<Direction> Directions() {
    const Anchor table{"256-entry byte table", ByteTable, nullptr, 1.0};
    const Anchor icuUtf8{"ICU ISCII -> UTF-8", IcuIsciiToUtf8, &Texts::iscii, 0};
    const Anchor icuUtf16{"ICU ISCII -> UTF-16", IcuIsciiToUtf16, &Texts::iscii, 0};
    const Anchor icuToIscii{"ICU UTF-8 -> ISCII", IcuUtf8ToIscii, &Texts::utf8, 0};
    auto with = [](Anchor a, double target, const std::string Texts::*text = nullptr) {
        a.target = target;
        if (text) a.text = text;
        return a;
    };
    return {
        {"mono -> bilingual", Export(MonoToBilingual), &Texts::mono, 1, {with(table, 1.0, &Texts::mono)}, 0, "glyphs"},
        {"bilingual -> mono", Export([](char *s, char *d, unsigned n) { return ToviBilingual2MonolingualGlyph(s, d, n); }),
         &Texts::bilingual, 1, {with(table, 0, &Texts::bilingual)}, 1500, "bilingual"},
        {"mono glyph -> Unicode", Export([](char *s, char *d, unsigned n) { return ToviMonolingualGlyph2Unicode(s, d, n); }),
         &Texts::mono, 3.5, {with(icuUtf8, 2.0), with(icuUtf16, 1.3)}, 0, "glyphs"},
        {"bilingual glyph -> Unicode", Export([](char *s, char *d, unsigned n) { return ToviBilingualGlyph2Unicode(s, d, n); }),
         &Texts::bilingual, 3.5, {with(icuUtf8, 2.0), with(icuUtf16, 1.3)}, 0, "bilingual"},
        {"mono glyph -> ISCII", Export(ToviMonolingualGlyph2ISCII), &Texts::mono, 3.01, {with(icuToIscii, 1.0)}, 0, "glyphs"},
        {"ISCII -> mono glyph", Export([](char *s, char *d, unsigned n) { return ToviISCII2MonolingualGlyph(s, d, n); }),
         &Texts::iscii, 1.5, {with(icuUtf8, 0)}, 200, "iscii"},
        {"ISCII -> bilingual glyph", Export(ToviISCII2BilingualGlyph), &Texts::iscii, 1.5, {with(icuUtf8, 0)}, 200, "iscii"},
        {"Unicode -> mono glyph", Export(UnicodeToMono), &Texts::utf8, 1, {with(icuToIscii, 0)}, 200, "utf8"},
        {"Unicode -> bilingual glyph", Export([](char *s, char *d, unsigned n) { return ToviUnicode2BilingualGlyph(s, d, n); }),
         &Texts::utf8, 1, {with(icuToIscii, 0)}, 200, "utf8"},
        {"ISCII -> Unicode", Export([](char *s, char *d, unsigned n) { return ToviISCII2Unicode(s, d, n); }),
         &Texts::iscii, 3.5, {with(icuUtf8, 1.0)}, 0, "iscii"},
        {"Unicode -> ISCII", Export(UnicodeToIscii),
         &Texts::utf8, 1, {with(icuToIscii, 1.0)}, 0, "utf8"},
        {"mono glyph -> KSCLP, a key per word", KsclpPerWord, &Texts::mono, 0,
         {{"ICU kn collation key per word", IcuSortKeyPerWord, &Texts::utf8, 1.0}}, 0, "glyphs"},
        {"mono glyph -> KSCLP, whole text", Export(ToviMonolingualGlyph2KSCLP), &Texts::mono, 4, {}, 50, "glyphs"},
    };
}

// ---- The tables --------------------------------------------------------------------------

const char *Verdict(bool met) { return met ? "met" : "NOT MET"; }

double MegabytesPerSecond(size_t bytes, double seconds) { return seconds > 0 ? bytes / 1e6 / seconds : 0; }

// The direction's speed on the dictionary beside its anchors; false when a target is missed.
bool SpeedRow(const Direction &d, const Texts &t) {
    const std::string &text = t.*d.text;
    double ours = Fastest(d.convert, text, static_cast<size_t>(d.outputPerInput * text.size()) + (1u << 20));
    double rate = MegabytesPerSecond(text.size(), ours);
    bool met = ours > 0;
    std::printf("%-38s %9.1f MB/s", d.name, rate);
    if (d.floor > 0) {
        met = met && rate >= d.floor;
        std::printf("  target >= %.0f MB/s: %s", d.floor, Verdict(rate >= d.floor));
    }
    std::printf("\n");
    if (d.convert.target<size_t (*)(char *, size_t, char *, size_t)>() &&
        *d.convert.target<size_t (*)(char *, size_t, char *, size_t)>() == KsclpPerWord) {
        std::string text = t.*d.text;  // the keys of the words once more, every allocation counted
        std::vector<char> room(64);
        allocations = 0;
        counting = true;
        KsclpPerWord(&text[0], text.size(), room.data(), room.size());
        counting = false;
        met = met && allocations == 0;
        std::printf("    allocations for %zu keys: %ld (target 0): %s\n", t.words.size(), allocations, Verdict(allocations == 0));
    }
    for (const Anchor &a : d.anchors) {
        const std::string &anchorText = t.*a.text;
        double theirs = Fastest([&a](char *s, size_t n, char *dst, size_t size) { return a.convert(s, n, dst, size); },
                                anchorText, 4 * anchorText.size() + 4096);
        double ratio = ours > 0 && theirs > 0 ? theirs / ours : 0;
        std::printf("    %-34s %9.1f MB/s  x anchor %5.2f", a.name, MegabytesPerSecond(anchorText.size(), theirs), ratio);
        if (a.target > 0) {
            met = met && ratio >= a.target;
            std::printf("  target >= %.1fx: %s", a.target, Verdict(ratio >= a.target));
        }
        std::printf("\n");
    }
    return met;
}

// A pathological text of about `size` bytes for a kind of input, and then a word that every
// converter gives something for.
std::string Pathological(const std::string &kind, int which, size_t size) {
    const Texts &t = Dictionary();
    const std::string &of = kind == "utf8" ? t.utf8 : kind == "iscii" ? t.iscii : kind == "bilingual" ? t.bilingual : t.mono;
    std::string text;
    if (which == 0) {  // the words without spaces: one word
        while (text.size() < size)
            for (char c : of)
                if (c != ' ' && text.size() < size) text.push_back(c);
    } else {  // one syllable run on: a consonant, then a run of repha glyphs (or of halant and consonant)
        std::string unit = kind == "utf8" ? "\xE0\xB3\x8D\xE0\xB2\x95" : kind == "iscii" ? "\xE8\xB3" : "\xF0";
        if (kind == "bilingual") {
            char mono[2] = {static_cast<char>(0xF0), 0}, bi[4] = {};
            ToviMonolingual2BilingualGlyph(mono, bi, sizeof bi);
            unit = bi;
        }
        text = kind == "utf8" ? "\xE0\xB2\x95" : kind == "iscii" ? "\xB3" : "\x50";  // KA
        while (text.size() < size) text += unit;
    }
    return text + " " + of.substr(0, of.find(' ')) + " ";
}

// The direction at the sizes and on its pathological texts; false when it is not linear.
bool LinearRow(const Direction &d, const Texts &t) {
    const std::string &text = t.*d.text;
    const size_t sizes[] = {1000, 64000, 1000000, 64000000};
    double rates[4];
    std::printf("%-38s", d.name);
    for (int i = 0; i < 4; i++) {
        std::string sized = OfSize(text, sizes[i]);
        double budget = i == 3 ? 0 : 0.3;  // 64 MB: the fastest of three runs
        double s = Fastest(d.convert, sized, static_cast<size_t>(d.outputPerInput * sized.size()) + (1u << 20), budget);
        rates[i] = MegabytesPerSecond(sized.size(), s);
        std::printf(" %8.1f", rates[i]);
    }
    // Linear: each size at least a quarter as fast as the one before and none slower than an
    // eighth of the fastest. A quadratic step would be 64 times slower from one size to the
    // next; the machine alone slows up to about three times as the text outgrows its caches.
    bool met = true;
    for (int i = 1; i < 4; i++) met = met && rates[i] >= rates[i - 1] / 4;
    met = met && *std::min_element(rates, rates + 4) >= *std::max_element(rates, rates + 4) / 8;
    // Pathological text: 64 KB and 1 MB in proportion.
    for (int which = 0; which < 2; which++) {
        double r[2];
        for (int i = 0; i < 2; i++) {
            std::string p = Pathological(d.pathological, which, i ? 1000000 : 64000);
            double s = Fastest(d.convert, p, static_cast<size_t>(8 * p.size()) + (1u << 20), 0.2);
            r[i] = MegabytesPerSecond(p.size(), s);
        }
        std::printf(" | %7.1f %7.1f", r[0], r[1]);
        met = met && r[1] >= r[0] / 3;  // quadratic would be 16 times slower
    }
    std::printf("  %s\n", Verdict(met));
    return met;
}

// Peak resident memory of this process (kB), after clearing it to the present.
long PeakKilobytes(bool clear) {
    if (clear)
        if (FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
    long kb = -1;
    if (FILE *f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
        std::fclose(f);
    }
    return kb;
}

// The direction on one line of 200 MB, in a process of its own: the memory it takes beyond its
// input and output; false when more than three times the input.
bool MemoryRow(const Direction &d, const Texts &t) {
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        std::string line = OfSize(t.*d.text, 200000000);
        size_t room = static_cast<size_t>(std::max(d.outputPerInput, 0.01) * line.size()) + (16u << 20);
        std::string dst(room, '\1');  // every page in memory before the conversion
        long before = PeakKilobytes(true);
        double start = ThreadSeconds();
        size_t n = d.convert(&line[0], line.size(), &dst[0], dst.size());
        double took = ThreadSeconds() - start;
        long peak = PeakKilobytes(false);
        double extra = (peak - before) * 1024.0 / line.size();
        std::printf("%-38s %8.1f MB/s  %5.2f x its size beyond input and output: %s%s\n", d.name,
                    MegabytesPerSecond(line.size(), took), extra, Verdict(n > 0 && extra <= 3),
                    n > 0 ? "" : " (nothing converted)");
        std::fflush(stdout);
        _exit(n > 0 && extra <= 3 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char **argv) {
    bool quick = argc > 1 && std::strcmp(argv[1], "--speed-only") == 0;
    const Texts &t = Dictionary();
    if (t.words.empty()) {
        std::printf("conversion: the Kannada dictionary (aspell-kn) is not installed; nothing measured\n");
        return 0;
    }
    std::printf("Conversion on the whole Kannada dictionary: %zu words; %zu bytes of UTF-8, %zu of glyphs, %zu of "
                "ISCII\n\n",
                t.words.size(), t.utf8.size(), t.mono.size(), t.iscii.size());
    std::vector<Direction> directions = Directions();
    int missed = 0;
    std::printf("%-38s %14s   (anchors: MB/s, the anchor's time over the converter's)\n", "direction", "MB/s");
    for (const Direction &d : directions) missed += !SpeedRow(d, t);
    if (!quick) {
        std::printf("\nLinear: MB/s at %-20s | no spaces 64 KB, 1 MB | a syllable run on 64 KB, 1 MB\n",
                    "1 KB, 64 KB, 1 MB, 64 MB");
        for (const Direction &d : directions) missed += !LinearRow(d, t);
        std::printf("\nOne line of 200 MB:\n");
        for (const Direction &d : directions) missed += !MemoryRow(d, t);
    }
    std::printf("\nconversion: %s (%d rows missed)\n", missed ? "NOT MET" : "every row met", missed);
    return 0;
}
