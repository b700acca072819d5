// Every converter from eight threads at once, while another thread changes the engine's
// switches: each call gives what it gives alone, and the twins' results belong to their
// thread; a composer in each thread types what one composer types alone. (Also built with
// AddressSanitizer.)
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "kannada-tovi-composer.h"
#include "../support/typed_keys.h"

namespace {

// Kannada words with conjuncts, signs, the repha, a nukta, Latin letters and digits.
const char *const kWords[] = {
    "ಕನ್ನಡ", "ಕರ್ನಾಟಕ", "ರಾಷ್ಟ್ರ", "ವಿದ್ಯಾರ್ಥಿ", "ಸಂಸ್ಕೃತಿ", "ಕ್ಷೇತ್ರ", "ಬೆಂಗಳೂರು", "ಜ಼ಡ್",
    "ಅಂತರ್ಜಾಲ ab 12", "ಸ್ತ್ರೀ", "ಕೊ ಕೋ ಕೌ", "ಮೈಸೂರು, ೧೨"};

using Convert = int (*)(char *src, char *dst, unsigned int size);

// A converter as a Convert, whatever its source's constness and its result's type.
template <auto F>
int Call(char *src, char *dst, unsigned int size) {
    return static_cast<int>(F(src, dst, size));
}

std::string Run(Convert convert, const std::string &src) {
    std::string copy = src;
    char out[1024];
    int n = convert(&copy[0], out, sizeof out);
    return std::to_string(n) + ":" + (n > 0 ? std::string(out) : "") + ":" + copy;
}

// The inputs of every converter, made from the words.
struct Inputs {
    std::string utf8, mono, bilingual, iscii;
};

std::vector<Inputs> MakeInputs() {
    std::vector<Inputs> inputs;
    for (const char *w : kWords) {
        Inputs in;
        char out[1024];
        in.utf8 = w;
        EXPECT_GT(ToviUnicode2MonolingualGlyph(w, out, sizeof out), 0);
        in.mono = out;
        EXPECT_GT(ToviUnicode2BilingualGlyph(w, out, sizeof out), 0);
        in.bilingual = out;
        std::string mono = in.mono;
        EXPECT_GT(ToviMonolingualGlyph2ISCII(&mono[0], out, sizeof out), 0);
        in.iscii = out;
        inputs.push_back(in);
    }
    return inputs;
}

// What every plain converter gives for one input, as one list.
std::vector<std::string> ConvertAll(const Inputs &in) {
    std::string a = in.mono, b = in.bilingual;
    return {Run(Call<ToviMonolingual2BilingualGlyph>, in.mono),
            Run(Call<ToviBilingual2MonolingualGlyph>, in.bilingual),
            Run(ToviMonolingualGlyph2ISCII, in.mono),
            Run(ToviBilingualGlyph2ISCII, in.bilingual),
            Run(Call<ToviISCII2MonolingualGlyph>, in.iscii),
            Run(ToviISCII2BilingualGlyph, in.iscii),
            Run(ToviMonolingualGlyph2KSCLP, in.mono),
            Run(ToviBilingualGlyph2KSCLP, in.bilingual),
            std::to_string(ToviMonolingualGlyphCompare(a.c_str(), "\x50\xC0")),
            std::to_string(ToviBilingualGlyphCompare(b.c_str(), "\x91\xD0")),
            Run(Call<ToviMonolingualGlyph2Unicode>, in.mono),
            Run(Call<ToviBilingualGlyph2Unicode>, in.bilingual),
            Run(Call<ToviUnicode2MonolingualGlyph>, in.utf8),
            Run(Call<ToviUnicode2BilingualGlyph>, in.utf8)};
}

// The twins' results, each copied before the next call, and whether a result stays as it
// was while the thread calls twins of the other kinds.
std::vector<std::string> TwinsOf(const Inputs &in) {
    std::string mono = in.mono, bi = in.bilingual, iscii = in.iscii;
    std::vector<std::string> r;
    auto take = [&](const char *p) { r.push_back(p ? p : "(null)"); };
    const char *glyphs = ToviMonolingual2BilingualGlyphVB(in.mono.c_str());
    std::string kept = glyphs ? glyphs : "";
    take(ToviMonolingualGlyph2ISCIIVB(&mono[0]));
    take(ToviBilingualGlyph2KSCLPVB(&bi[0]));
    r.push_back(glyphs && kept == glyphs ? "kept" : "lost");
    take(ToviBilingual2MonolingualGlyphVB(in.bilingual.c_str()));
    take(ToviISCII2MonolingualGlyphVB(&iscii[0]));
    take(ToviISCII2BilingualGlyphVB(&iscii[0]));
    take(ToviBilingualGlyph2ISCIIVB(&bi[0]));
    take(ToviMonolingualGlyph2KSCLPVB(&mono[0]));
    r.push_back(std::to_string(ToviMonolingualGlyphCompareVB(mono.c_str(), bi.c_str())));
    return r;
}

template <typename Work>
void FromEightThreads(const std::vector<Inputs> &inputs, Work work) {
    std::vector<std::vector<std::string>> alone;
    for (const Inputs &in : inputs) alone.push_back(work(in));
    std::atomic<bool> done{false};
    std::atomic<int> differences{0};
    // The engine's switches change meanwhile: the converters do not follow them.
    std::thread switches([&] {
        ToviSetKeyEngine();
        for (int i = 0; !done; i++) ToviChangeFontType(i % 2);
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; t++)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 40; round++)
                for (size_t i = 0; i < inputs.size(); i++)
                    if (work(inputs[(i + t) % inputs.size()]) != alone[(i + t) % inputs.size()]) differences++;
        });
    for (std::thread &t : threads) t.join();
    done = true;
    switches.join();
    ToviChangeFontType(1);
    EXPECT_EQ(differences, 0);
}

TEST(ConverterThreads, PlainConvertersGiveWhatTheyGiveAlone) { FromEightThreads(MakeInputs(), ConvertAll); }

TEST(ConverterThreads, EachThreadHasItsOwnTwinResults) { FromEightThreads(MakeInputs(), TwinsOf); }

// What composers of every output type type for the key sequences.
std::string ComposeAll(const std::vector<std::string> &sequences) {
    std::string all;
    ToviComposerResult r;
    for (int output : {TOVI_COMPOSER_MONOLINGUAL, TOVI_COMPOSER_BILINGUAL, TOVI_COMPOSER_UTF8}) {
        ToviComposer *c = ToviComposerNew(output, output == TOVI_COMPOSER_BILINGUAL ? TOVI_COMPOSER_KEY_ENGINE : 0);
        for (const std::string &keys : sequences) {
            for (char k : keys) {
                ToviComposerFeed(c, k, &r);
                all += std::to_string(r.erase) + std::string(r.insert, r.insertLength);
            }
            ToviComposerFeed(c, '\b', &r);
            all += std::to_string(r.erase) + std::string(r.preedit, r.preeditLength);
            ToviComposerReset(c);
        }
        ToviComposerFree(c);
    }
    return all;
}

TEST(ConverterThreads, AComposerInEachThreadTypesAsOneAlone) {
    std::vector<std::string> sequences;  // every 64th of the enumeration
    int n = 0;
    ForEachKeySequence([&](const std::string &keys, int) {
        if (n++ % 64 == 0) sequences.push_back(keys);
    });
    const std::string alone = ComposeAll(sequences);
    std::atomic<int> differences{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; t++) threads.emplace_back([&] { differences += ComposeAll(sequences) != alone; });
    for (std::thread &t : threads) t.join();
    EXPECT_EQ(differences, 0);
}

}  // namespace
