// ISCII to glyph strings through the public API: the keystrokes of every enumerated key
// sequence typed as typing types them, in both encodings, joiners and all.
#include <gtest/gtest.h>

#include <string>

#include "kannada-tovi-composer.h"
#include "../support/typed_keys.h"

namespace {

// What a composer of kannada-tovi-composer.h types for the keys (the hook's codes).
std::string Typed(ToviComposer *c, const std::string &keys) {
    ToviComposerReset(c);
    std::string text;
    ToviComposerResult r;
    for (char k : keys)
        if (ToviComposerFeed(c, k, &r)) {
            text.resize(text.size() > static_cast<size_t>(r.erase) ? text.size() - r.erase : 0);
            text.append(r.insert, static_cast<size_t>(r.insertLength));
        }
    return text;
}

// Every enumerated key sequence whose typed glyphs come back from their ISCII: the bilingual
// conversion gives what typing gives in that encoding, joiners and all.
TEST(IsciiToGlyph, BothEncodingsGiveWhatTypingGives) {
    ToviComposer *mono = ToviComposerNew(TOVI_COMPOSER_MONOLINGUAL, 0);
    ToviComposer *bilingual = ToviComposerNew(TOVI_COMPOSER_BILINGUAL, 0);
    int compared = 0;
    char iscii[256], back[256];
    ForEachKeySequence([&](const std::string &keys, int) {
        std::string typed = Typed(mono, keys);
        if (typed.empty()) return;
        if (ToviMonolingualGlyph2ISCII(&typed[0], iscii, sizeof iscii) <= 1) return;
        if (ToviISCII2MonolingualGlyph(iscii, back, sizeof back) <= 0 || Typed(mono, keys) != back) return;
        compared++;
        int n = ToviISCII2BilingualGlyph(iscii, back, sizeof back);
        ASSERT_EQ(std::string(back, n > 0 ? n : 0), Typed(bilingual, keys)) << keys;
    });
    EXPECT_GT(compared, 700000);
    ToviComposerFree(mono);
    ToviComposerFree(bilingual);
    // The joiners of typing, also where the monolingual encoding has none (k f k f r).
    char kkra[] = "\xB3\xE8\xB3\xE8\xCF";
    ToviISCII2MonolingualGlyph(kkra, back, sizeof back);
    EXPECT_STREQ(back, "\x50\xC0\xCC\xE7");
    ToviISCII2BilingualGlyph(kkra, back, sizeof back);
    EXPECT_STREQ(back, "\x91\xD0\xDC\xFF\xF5");
}

}  // namespace
