// UTF-8 words to ISCII and glyph text a syllable at a time: what a syllable converts to, and
// whether it comes back as itself, worked out once and kept (syllable_cache.h). A word whose
// syllables all come back, and meet where nothing of one reads the other, is held, and
// converts to what its syllables convert to:
// - to ISCII, a syllable reads ahead only after a joiner that is no part of a cluster: the one
//   before must not end with one, and the one after must start a syllable (a consonant or a
//   vowel; a sign would compose with the code before);
// - to glyphs, the ISCII of each must type as one word of units (iscii_to_glyph.cpp) that give
//   what they give alone, the first of the one after may follow the last of the one before;
// - back to UTF-8, the two must meet where glyph text and ISCII read apart (GlyphSyllableToUtf8,
//   IsciiJoins).
// Other words go the plain way (unicode_held.cpp).
#include <cstring>

#include "iscii.h"
#include "iscii_typing.h"
#include "syllable_cache.h"
#include "unicode.h"
#include "unicode_held.h"

namespace {

constexpr size_t kThere = 28;  // the ISCII or glyph codes a kept syllable holds at most

struct UnicodeSyllable {
    uint8_t length;  // of `there`
    uint8_t joins;   // kHeld, kStartsClean, kEndsClean
    uint8_t firstKey;
    uint8_t unused;
    uint8_t there[kThere];
    uint64_t followersFirst, followersInWord;  // glyph encodings: see IsciiSyllable
};
enum : uint8_t {
    kHeld = 1,         // it converts to at most kThere codes that come back as the syllable
    kStartsClean = 2,  // it may follow a syllable
    kEndsClean = 4,    // a syllable may follow it
    kApart = 8,        // its ISCII stands for itself: typing starts afresh after it
};

struct NoContext {};
using UnicodeSyllables = SyllableCache<UnicodeSyllable, NoContext, true, 16>;

// A word's code points one byte each: U+0C80 + b - 0x80 for b from 0x80, the zero-width
// non-joiner 1, the joiner 2.
constexpr uint8_t kCompactZwnj = 1, kCompactZwj = 2;

constexpr uint8_t Compact(uint32_t cp) { return static_cast<uint8_t>(cp - 0x0C80 + 0x80); }
constexpr bool IsConsonant(uint8_t c) { return (c >= Compact(0x0C95) && c <= Compact(0x0CB9)) || c == Compact(0x0CDE); }
bool IsVowel(uint8_t c) { return (c >= Compact(0x0C85) && c <= Compact(0x0C94)) || c == Compact(0x0CE0) || c == Compact(0x0CE1); }
// Whether a code point belongs to the syllable before it (as FindUnheld reads syllables): a sign
// that belongs to the letter before, a joiner, a consonant after the virama.
struct Continuing {
    bool always[256];
    bool afterVirama[256];
    constexpr Continuing() : always(), afterVirama() {
        for (int c = 0x80; c < 256; c++) {
            uint32_t cp = 0x0C80 + c - 0x80;
            always[c] = (cp >= 0x0C81 && cp <= 0x0C83) || cp == 0x0CBC || (cp >= 0x0CBE && cp <= 0x0CCD) ||
                        cp == 0x0CD5 || cp == 0x0CD6 || cp == 0x0CE2 || cp == 0x0CE3 || cp == 0x0CF3;
            afterVirama[c] = always[c] || IsConsonant(static_cast<uint8_t>(c));
        }
        always[kCompactZwnj] = always[kCompactZwj] = afterVirama[kCompactZwnj] = afterVirama[kCompactZwj] = true;
    }
};
constexpr Continuing kContinuing;

// `before`: the code point before c; `twoBefore`: the one before that (0 for none). A joiner
// after the virama links the consonant after it as the virama does.
inline bool Continues(uint8_t c, uint8_t before, uint8_t twoBefore) {
    bool afterVirama = before == Compact(0x0CCD) ||
                       ((before == kCompactZwj || before == kCompactZwnj) && twoBefore == Compact(0x0CCD));
    return afterVirama ? kContinuing.afterVirama[c] : kContinuing.always[c];
}

// The UTF-8 of n compact code points.
size_t Utf8Of(const uint8_t *compact, size_t n, uint8_t *out) {
    size_t k = 0;
    for (size_t i = 0; i < n; i++) {
        uint32_t cp = compact[i] == kCompactZwnj ? 0x200C : compact[i] == kCompactZwj ? 0x200D : 0x0C80 + compact[i] - 0x80;
        out[k++] = static_cast<uint8_t>(0xE0 | (cp >> 12));
        out[k++] = static_cast<uint8_t>(0x80 | ((cp >> 6) & 0x3F));
        out[k++] = static_cast<uint8_t>(0x80 | (cp & 0x3F));
    }
    return k;
}

// The bilingual encoding has no glyph of the dead NA: NA with the halant shown stands for it, as
// in UnicodeToGlyphs. Rewrites the k codes of ISCII at `iscii` (with room for two more per
// code, and a NUL after them); returns their count.
size_t DeadNaShown(uint8_t *iscii, size_t k) {
    constexpr uint8_t kIsciiNa = 198, kIsciiDeadNa = 199;
    for (size_t i = 0; i < k; i++)
        if (iscii[i] == kIsciiDeadNa) {
            std::memmove(iscii + i + 3, iscii + i + 1, k - i - 1);
            iscii[i] = kIsciiNa;
            iscii[i + 1] = iscii[i + 2] = kIsciiHalant;
            k += 2;
            i += 2;
        }
    iscii[k] = 0;
    return k;
}

// Works out what the syllable of n compact code points converts to, alone.
void Convert(const uint8_t *compact, size_t n, HeldIn encoding, UnicodeSyllable &syllable) {
    std::memset(&syllable, 0, sizeof syllable);
    uint8_t utf8[3 * kLongSyllable], iscii[3 * kIsciiPerUnicode * 3 * kLongSyllable + 1];  // room for DeadNaShown
    size_t length = Utf8Of(compact, n, utf8);
    size_t k = ShortUnicodeToIscii(utf8, length, iscii);
    iscii[k] = 0;
    uint8_t back[kUnicodePerIscii * kIsciiPerGlyph * kThere + kGlyphUtf8Slack];
    size_t backLength;
    uint8_t joins;
    // A syllable that starts with a sign composes it with the code before; one that ends with a
    // joiner that is no part of a cluster reads the code after it.
    bool starts = IsConsonant(compact[0]) || IsVowel(compact[0]), ends = compact[n - 1] != kCompactZwj;
    if (encoding == HeldIn::kIscii) {
        if (k > kThere) return;
        std::memcpy(syllable.there, iscii, k);
        syllable.length = static_cast<uint8_t>(k);
        backLength = IsciiToUnicode(iscii, k, back);
        joins = IsciiJoins(iscii, k);
    } else {
        IsciiSyllable typed;
        bool bilingual = encoding == HeldIn::kBilingual;
        if (bilingual) k = DeadNaShown(iscii, k);
        if (!TypeIsciiSyllable(iscii, k, bilingual, typed, syllable.there, kThere)) return;
        syllable.length = static_cast<uint8_t>(typed.length);
        syllable.joins = typed.apart ? kApart : 0;
        syllable.firstKey = static_cast<uint8_t>(typed.firstKey);
        syllable.followersFirst = typed.followersFirst;
        syllable.followersInWord = typed.followersInWord;
        ends = ends && typed.endsJoinable;
        backLength = GlyphSyllableToUtf8(syllable.there, typed.length, bilingual, back, joins);
    }
    // It comes back as itself, or reads as itself (ReadAlike: a halant with another joiner
    // after it, or none); in bilingual text a dead NA (NA with the halant shown) comes back with
    // a non-joiner after it, which is no part of what the text reads.
    bool joinerAfter = encoding == HeldIn::kBilingual && backLength == length + 3 &&
                       std::memcmp(back + length, "\xE2\x80\x8C", 3) == 0;
    bool same = (backLength == length || joinerAfter) && std::memcmp(back, utf8, length) == 0;
    if (!same && !ReadAlike(back, backLength, utf8, length, encoding != HeldIn::kIscii)) return;
    syllable.joins |= kHeld | (starts && (joins & kIsciiMayFollow) ? kStartsClean : 0) |
                      (ends && (joins & kIsciiMayBeFollowed) ? kEndsClean : 0);
}

}  // namespace

bool ConvertHeldWord(const uint8_t *word, size_t n, HeldIn encoding, TypedText &out) {
    if (n == 0 || n % 3) return false;  // Kannada and the joiners only: three bytes each
    UnicodeSyllables &cache = CurrentSyllableCache<UnicodeSyllables>();
    const unsigned reading = static_cast<unsigned>(encoding);
    const size_t before = out.length;
    uint8_t lastJoins = 0;
    uint64_t lastFollowers = 0;  // of the syllable before, where it stands
    UnicodeSyllable worked;
    // The syllable being read, its code points one byte each (room to read a key's 16 bytes).
    uint8_t syllable[kLongSyllable + 16];
    size_t length = 0;
    bool first = true;
    for (size_t i = 0; i <= n; i += 3) {
        uint8_t c = 0;  // 0 after the last
        if (i < n) {
            uint8_t a = word[i], b = word[i + 1], d = word[i + 2];
            if (a == 0xE0 && (b == 0xB2 || b == 0xB3) && (d & 0xC0) == 0x80)
                c = static_cast<uint8_t>(0x80 + ((b & 1) << 6) + (d & 0x3F));
            else if (a == 0xE2 && b == 0x80 && (d == 0x8C || d == 0x8D))
                c = d == 0x8C ? kCompactZwnj : kCompactZwj;
            else
                return out.length = before, false;
            if (length == 0 || Continues(c, syllable[length - 1], length > 1 ? syllable[length - 2] : 0)) {
                if (length == kLongSyllable) return out.length = before, false;
                syllable[length++] = c;
                continue;
            }
        }
        // The syllable read is whole.
        SyllableKey key = SyllableKeyOfPadded(syllable, length, reading);
        const UnicodeSyllable *kept = cache.Find(key);
        if (!kept) {
            Convert(syllable, length, encoding, worked);
            cache.Add(key, worked);
            kept = &worked;
        }
        bool afresh = first || (lastJoins & kApart);  // the syllable's ISCII starts a word of typing
        bool joins = kept->joins & kHeld;
        if (joins && !first)
            joins = (lastJoins & kEndsClean) && (kept->joins & kStartsClean) &&
                    (encoding == HeldIn::kIscii || afresh || (kept->joins & kApart) ||
                     (lastFollowers >> kept->firstKey & 1));
        if (!joins) return out.length = before, false;
        std::memcpy(out.Room(kThere), kept->there, kThere);  // of which its length stand
        out.length += kept->length;
        lastJoins = kept->joins;
        lastFollowers = afresh ? kept->followersFirst : kept->followersInWord;
        first = false;
        syllable[0] = c;
        length = 1;
    }
    return true;
}
