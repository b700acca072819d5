// The phonetic composer. Each routine works on the ComposerState it is given; what is to be
// typed gathers in outBuf, and EmitOutput turns it into the key's actions.
#include "composer.h"

#include <cstring>
#include <initializer_list>

#include "../base/conversion_data.h"
#include "../base/glyph_classes.h"
#include "layout_data.h"

ComposerState NewComposerState() {
    ComposerState s;
    std::memset(&s, 0, sizeof s);
    s.state = kStateBoundary;
    s.options.joiners = 1;
    return s;
}

namespace {

constexpr int kBackspace = 8;

// ---- outBuf: bytes at 1..kOutBufBytes, a zero after the last ------------------------------

int OutLength(const ComposerState &s) {
    int n = 0;
    while (n < kOutBufBytes && s.outBuf[n + 1] != 0) n++;
    return n;
}

void ClearOut(ComposerState &s) { std::memset(s.outBuf, 0, sizeof s.outBuf); }

// Appends the low byte of a value; a full buffer drops it, a zero byte is never stored.
void AppendOut(ComposerState &s, int32_t value) {
    uint8_t b = static_cast<uint8_t>(value & 0xFF);
    if (b == 0) return;
    int n = OutLength(s);
    if (n >= kOutBufBytes) return;
    s.outBuf[n + 1] = b;
    s.outBuf[n + 2] = 0;
}

// Glyph columns up to the first 0.
void AppendGlyphs(ComposerState &s, const int32_t *glyphs, int count) {
    for (int i = 0; i < count && glyphs[i] != 0; i++) AppendOut(s, glyphs[i]);
}

// Erase counts come from the data: a negative one erases nothing, a huge one fills the buffer.
void AppendErase(ComposerState &s, int32_t count) {
    for (int32_t i = 0; i < count && i < kOutBufBytes; i++) AppendOut(s, kBackspace);
}

// Drops the last byte of outBuf (the last non-zero one).
void DropLast(ComposerState &s) {
    int n = OutLength(s);
    if (n > 0) s.outBuf[n] = 0;
}

void AppendChain(ComposerState &s, int from) {
    for (int i = from; i <= s.conjCount && i <= kConjGlyphs; i++) AppendOut(s, s.conjGlyphs[i]);
}

void Emit(ComposerState &s) { EmitOutput(s); }

void EmitBytes(ComposerState &s, std::initializer_list<int> bytes) {
    ClearOut(s);
    for (int b : bytes) AppendOut(s, b);
    EmitOutput(s);
}

int LongAKey(const ComposerState &s) { return s.options.keyEngine ? 'a' : 'A'; }

bool IsConsonant(int key) { return FindVyanjanaRow(key) != 0; }

// The subscript glyph a consonant takes in a conjunct; "r" takes 231 when `laterMember`.
int SubscriptGlyph(int key, bool laterMember) {
    if (key == 'r' && laterMember) return 231;
    int r = FindVyanjanaRow(key);
    return r ? Layout.vyanjana[r][5] : 0;
}

bool IsMarker(int entry) { return entry == 0 || entry == 246 || entry == 247; }

}  // namespace

// ---- The state machine ----------------------------------------------------------------------

void PushKey(ComposerState &s, int newState, int key) {
    for (int i = kRecentKeys - 1; i > 0; i--) s.recentKeys[i] = s.recentKeys[i - 1];
    s.recentKeys[0] = key;
    s.state = newState;
}

void ClearConjunct(ComposerState &s) {
    s.conjCount = 0;
    for (int32_t &g : s.conjGlyphs) g = 0;
}

int IsVowelKey(int key) {
    switch (key) {
    case 'A': case 'E': case 'F': case 'H': case 'I': case 'M': case 'O': case 'U': case 'V':
    case 'Y': case 'a': case 'e': case 'f': case 'i': case 'o': case 'R': case 'u':
        return 1;
    default:
        return 0;
    }
}

int StartSyllable(ComposerState &s, int key) {
    if (key == 'X') {
        int before = s.recentKeys[0];
        bool afterHalant = s.recentKeys[1] == 'f';
        int newState = kStateBoundary;
        ClearOut(s);
        if (before == 'R') {
            uint8_t previous = s.history[0][1];
            AppendOut(s, kBackspace);
            AppendOut(s, previous == 200 || previous == 248 ? 241 : 198);
        } else if (afterHalant) {
            AppendOut(s, 243);
        } else if (before == 'r') {
            AppendOut(s, 8), AppendOut(s, 8), AppendOut(s, 190);
            newState = kStateExtended;
        } else if (before == 'L') {
            AppendOut(s, 8), AppendOut(s, 8), AppendOut(s, 191);
            newState = kStateExtended;
        } else if (before == 'n') {
            AppendOut(s, 8), AppendOut(s, 8), AppendOut(s, 242);
        } else if (before == 'P') {
            AppendOut(s, 8), AppendOut(s, 243), AppendOut(s, 192);
            newState = kStateExtended;
        } else if (before == 'j') {
            AppendOut(s, 251);
            newState = kStateExtended;
        } else {
            AppendOut(s, 243);
        }
        PushKey(s, newState, 'X');
        return 1;
    }
    if (int r = FindSwaraRow(key)) {
        ClearOut(s);
        AppendGlyphs(s, &Layout.swara[r][1], 2);
        PushKey(s, kStateBoundary, key);
        return 1;
    }
    if (int r = FindVyanjanaRow(key)) {
        ClearOut(s);
        AppendGlyphs(s, &Layout.vyanjana[r][1], 4);
        PushKey(s, kStateConsonant, key);
        return 1;
    }
    return 0;
}

int ApplyKagunitha(ComposerState &s, int base, int key) {
    if (key == 'f' && s.conjCount > 2) return 0;
    if (key == (s.options.keyEngine ? 'A' : 'a')) {
        PushKey(s, kStateBoundary, key);  // the consonant already carries its inherent vowel
        return 1;
    }
    if (int r = FindKagunithaRow(base, key, s.options.keyEngine != 0)) {
        ClearOut(s);
        AppendErase(s, Layout.kagunitha[r][2]);
        AppendGlyphs(s, &Layout.kagunitha[r][3], 4);
    } else if (int c = FindSwaraChinheRow(key)) {
        ClearOut(s);
        AppendGlyphs(s, &Layout.swaraChinhe[c][1], 3);
    } else {
        return 0;
    }
    if (key == 'f') {
        s.halantBase = base;
        PushKey(s, s.conjCount > 0 ? kStateConjunct : kStateHalant, 'f');
    } else {
        PushKey(s, kStateBoundary, key);
    }
    return 1;
}

namespace {

bool HasSpecialKagunitha(const ComposerState &s, int base, int key) {
    return !(base == 'j' && key == 'f' && s.conjCount > 0) &&
           FindSpecialKagunithaRow(base, key, s.options.keyEngine != 0) != 0;
}

}  // namespace

int ApplySpecialKagunitha(ComposerState &s, int base, int key) {
    if (!HasSpecialKagunitha(s, base, key)) return 0;
    int r = FindSpecialKagunithaRow(base, key, s.options.keyEngine != 0);
    ClearOut(s);
    AppendErase(s, Layout.specialKagunitha[r][2]);
    AppendGlyphs(s, &Layout.specialKagunitha[r][3], 5);
    if (base == 'j' && key == 'f') {
        s.halantBase = 'j';
        PushKey(s, kStateExtendedHalant, 'f');
    } else if (key == 'f') {
        s.halantBase = base;
        PushKey(s, s.conjCount > 0 ? kStateConjunct : kStateHalant, 'f');
    } else {
        PushKey(s, kStateBoundary, key);
    }
    return 1;
}

void ApplyOvelOmitor(ComposerState &s, int base) {
    ClearOut(s);
    if (int r = FindOvelOmitorRow(base)) {
        AppendGlyphs(s, &Layout.ovelOmitor[r][1], 3);
        return;
    }
    AppendOut(s, kBackspace);  // erases the halant glyph 239
    EmitOutput(s);
    AppendOut(s, 192);
}

namespace {

// State 4: inside a conjunct chain.
int ProcessConjunctKey(ComposerState &s, int key) {
    if (key == 'f' && s.recentKeys[0] == 'f') {
        PushKey(s, kStateBoundary, 'f');
        ClearConjunct(s);
        return 0;
    }
    // "X" changes the chain's last RA or LA; after any other key it matches nothing, and a key
    // that matches nothing changes nothing.
    if (key == 'X' && s.conjCount > 0 && s.recentKeys[0] != 'r' && s.recentKeys[0] != 'L') return 0;
    if (s.conjCount > 0) {  // erase the chain
        ClearOut(s);
        AppendErase(s, s.conjCount);
        Emit(s);
    }
    if (s.recentKeys[0] == 'f') {  // the chain is being extended
        ApplyOvelOmitor(s, s.halantBase);
        Emit(s);
        if (IsConsonant(key)) {
            if (s.conjCount < kConjGlyphs) {
                s.conjCount++;
                s.conjGlyphs[s.conjCount] = SubscriptGlyph(key, true);
            }
            ClearOut(s);
            AppendChain(s, 1);
            PushKey(s, kStateConjunct, key);
            return 1;
        }
    }
    if (key == 'X' && s.conjCount > 0) {  // after RA or LA
        if (s.recentKeys[0] == 'r') s.conjGlyphs[s.conjCount] = 249;
        if (s.recentKeys[0] == 'L') s.conjGlyphs[s.conjCount] = 250;
        ClearOut(s);
        AppendChain(s, 1);
        Emit(s);
        return 0;
    }
    int r = ApplyKagunitha(s, s.halantBase, key);
    if (r == 0) {
        ClearOut(s);
        AppendChain(s, 1);
        Emit(s);
        if (StartSyllable(s, key)) {
            ClearConjunct(s);
            PushKey(s, kStateConsonant, key);
            return 1;
        }
        return 0;
    }
    // outBuf holds the combined form: erase bytes and glyphs.
    const int first = s.conjGlyphs[1];
    const bool kSsa = first == 235 && s.halantBase == 'k';
    if (key == 'Y' || key == 'R' || key == 'I' || key == 'E' || (key == 'O' && !kSsa)) {
        DropLast(s);
        Emit(s);
        ClearOut(s);
        AppendChain(s, 1);
        Emit(s);
        if (key == 'Y')
            EmitBytes(s, {246, 202});
        else if (key == 'R')
            EmitBytes(s, {248});
        else
            EmitBytes(s, {195});
        ClearConjunct(s);
        return 0;
    }
    if (key == 'O' && kSsa) {
        DropLast(s);
        DropLast(s);
        Emit(s);
        EmitBytes(s, {235, 198, 195});
        ClearOut(s);
        AppendChain(s, 2);
        Emit(s);
        ClearConjunct(s);
        return 0;
    }
    int unitSign = 0;  // the conjunct and its vowel sign typed as one unit
    if (kSsa && key == 'u') unitSign = 196;
    if (kSsa && (key == 'U' || key == 'o')) unitSign = 198;
    if (key == LongAKey(s) && first == 213 && s.halantBase == 'j') unitSign = 193;
    if (unitSign) {
        DropLast(s);
        Emit(s);
        EmitBytes(s, {first, unitSign});
        ClearOut(s);
        AppendChain(s, 2);
        Emit(s);
        ClearConjunct(s);
        return 0;
    }
    Emit(s);  // the combined form unchanged
    ClearOut(s);
    AppendChain(s, 1);
    Emit(s);
    if (key == 'f') {
        PushKey(s, kStateConjunct, 'f');
        return 1;
    }
    ClearConjunct(s);
    PushKey(s, kStateBoundary, key);
    return 1;
}

}  // namespace

int ProcessLetter(ComposerState &s, int key) {
    switch (s.state) {
    case kStateExtended:
        if (ApplySpecialKagunitha(s, s.recentKeys[1], key)) return 1;
        return StartSyllable(s, key);

    case kStateConsonant:
        if (ApplyKagunitha(s, s.recentKeys[0], key)) return 1;
        return StartSyllable(s, key);

    case kStateBoundary:
        return StartSyllable(s, key);

    case kStateExtendedHalant:
        if (IsConsonant(key)) {
            EmitBytes(s, {kBackspace});
            ApplyOvelOmitor(s, s.halantBase);
            Emit(s);
            EmitBytes(s, {251});
            s.conjGlyphs[1] = SubscriptGlyph(key, false);
            EmitBytes(s, {s.conjGlyphs[1]});
            PushKey(s, kStateExtendedChain, key);
            s.conjCount = 1;
            return 1;
        }
        // A key that matches nothing changes nothing: the text still ends in the halant form
        // this state stands for.
        if (!HasSpecialKagunitha(s, s.halantBase, key)) return 0;
        EmitBytes(s, {kBackspace});
        ApplyOvelOmitor(s, s.halantBase);
        Emit(s);
        EmitBytes(s, {251});
        ApplySpecialKagunitha(s, s.halantBase, key);
        PushKey(s, kStateBoundary, key);
        return 1;

    case kStateExtendedChain:
        if (ApplySpecialKagunitha(s, s.halantBase, key)) {
            ClearOut(s);  // its output is discarded and made again below
            EmitBytes(s, {kBackspace});
            ApplyOvelOmitor(s, s.halantBase);
            Emit(s);
            EmitBytes(s, {251});
            ApplySpecialKagunitha(s, s.halantBase, key);
            Emit(s);
            ClearOut(s);
            AppendOut(s, s.conjGlyphs[1]);
            ClearConjunct(s);
            PushKey(s, kStateBoundary, key);
            return 1;
        }
        if (StartSyllable(s, key)) {
            ClearConjunct(s);
            PushKey(s, kStateConsonant, key);
            return 1;
        }
        return 0;

    case kStateHalant:
        if (key == 'f') {  // a second halant types nothing and closes the syllable
            PushKey(s, kStateBoundary, 'f');
            ClearConjunct(s);
            return 0;
        }
        ApplyOvelOmitor(s, s.halantBase);
        Emit(s);
        if (IsConsonant(key)) {
            int glyph = SubscriptGlyph(key, false);
            ClearOut(s);
            AppendOut(s, glyph);
            s.conjGlyphs[1] = glyph;
            PushKey(s, kStateConjunct, key);
            s.conjCount = 1;
            return 1;
        } else {
            int r = ApplyKagunitha(s, s.halantBase, key);
            PushKey(s, kStateBoundary, key);
            return r;
        }

    case kStateConjunct:
        return ProcessConjunctKey(s, key);

    default:
        return 0;
    }
}

// ---- The output step ----------------------------------------------------------------------

namespace {

void BeginKey(ComposerState &s) {
    s.actions.erase = 0;
    s.actions.insertLength = 0;
    s.actions.emissions = 0;
    s.actions.emptyEmissions = 0;
}

// An erasure takes back a code this key inserted, else a character before the key's text.
void EraseOne(ComposerState &s) {
    if (s.actions.insertLength > 0) s.actions.insertLength--;
    else s.actions.erase++;
}

void InsertCode(ComposerState &s, uint8_t code) {
    if (s.actions.insertLength < kActionBytes) s.actions.insert[s.actions.insertLength++] = code;
}

// Counts a typed glyph and remembers it at its position (the last kPostedRecord positions).
void RememberTyped(ComposerState &s, uint8_t glyph) {
    if (s.postedCount >= 0) s.postedGlyphs[s.postedCount % kPostedRecord] = glyph;
    s.postedCount++;
}

bool IsTypedJoiner(uint8_t glyph, bool bilingual) { return bilingual ? glyph == 255 : IsJoinerGlyph(glyph); }

}  // namespace

void EmitOutput(ComposerState &s) {
    const bool bilingual = s.options.bilingual != 0;
    s.actions.emissions++;
    if (s.outBuf[1] == 0) s.actions.emptyEmissions++;
    // The history keeps the monolingual codes, which the state machine compares.
    for (int row = kHistoryRows - 1; row > 0; row--)
        std::memcpy(s.history[row], s.history[row - 1], sizeof s.history[row]);
    std::memcpy(s.history[0], s.outBuf, sizeof s.outBuf);
    if (bilingual)
        for (int i = 1; i <= kOutBufBytes && s.outBuf[i] != 0; i++)
            s.outBuf[i] = ConversionLookup.mono2Bilingual[s.outBuf[i]];

    for (int i = 1; i <= kOutBufBytes && s.outBuf[i] != 0; i++) {
        uint8_t b = s.outBuf[i];
        if (!s.options.joiners) {
            if (b == kBackspace) EraseOne(s);
            else InsertCode(s, b);
            continue;
        }
        if (b == kBackspace) {
            EraseOne(s);
            s.postedCount--;
            // The joiner typed before the erased glyph goes with it. The glyphs typed for the
            // syllable are remembered by position, so a chain of several subscripts with a
            // joiner between each pair is erased whole, one joiner per glyph.
            if (s.postedCount > 0 && IsTypedJoiner(s.postedGlyphs[(s.postedCount - 1) % kPostedRecord], bilingual)) {
                EraseOne(s);
                s.postedCount--;
            }
            continue;
        }
        InsertCode(s, b);
        RememberTyped(s, b);
        uint8_t next = s.outBuf[i + 1];  // i + 1 <= kOutBufBytes + 1, always the zero at worst
        uint8_t joiner = 0;
        if (!bilingual) {
            if (IsSubscriptGlyph(b) && IsSubscriptGlyph(next)) joiner = JoinerGlyph(b, next);
        } else if (b >= 219 && b <= 251 && next >= 219) {
            joiner = 255;
        }
        if (joiner) {
            InsertCode(s, joiner);
            RememberTyped(s, joiner);
        }
    }

    std::memset(s.outBuf, 0, sizeof s.outBuf);
}

// ---- Syllable bookkeeping of typing -------------------------------------------------------

namespace {

void AppendKey(ComposerState &s, int entry) {
    if (s.keyCount < kKeyBufCapacity) s.keyBuf[s.keyCount++] = entry;
}

void StartNewSyllable(ComposerState &s, int key) {
    s.keyCount = 0;
    s.postedCount = 0;
    s.state = kStateBoundary;
    ClearConjunct(s);
    for (int32_t &k : s.keyBuf) k = 0;
    AppendKey(s, key);
}

}  // namespace

void HandleLetterKey(ComposerState &s, int key) {
    BeginKey(s);
    const int n = s.keyCount;
    const int first = n >= 1 ? s.keyBuf[0] : 0;
    const int last = n >= 1 ? s.keyBuf[n - 1] : 0;
    const bool vowel = IsVowelKey(key);
    const bool twoHalants = n >= 2 && last == 'f' && s.keyBuf[n - 2] == 'f';
    bool continues = n >= 1 && first != 0 && !IsVowelKey(first) && !twoHalants &&
                     ((!vowel && last == 'f') || (vowel && (!IsVowelKey(last) || last == 'f')));

    // A further consonant of a conjunct chain is preceded by a marker: the joiner that will
    // stand between the chain's last glyph and the glyph this key adds.
    bool marker = continues && n > 3 && last == 'f' && !IsVowelKey(s.keyBuf[n - 2]) && !vowel;
    // A syllable that would pass the key buffer starts again with this key.
    if (continues && n + (marker ? 1 : 0) + 1 > kKeyBufCapacity) continues = false;

    if (continues) {
        if (marker) {
            int joiner = 0;
            if (IsConsonant(key)) {
                int lastGlyph = s.conjCount > 0 && s.conjCount <= kConjGlyphs ? s.conjGlyphs[s.conjCount] : 0;
                joiner = JoinerGlyph(static_cast<uint8_t>(lastGlyph),
                                     static_cast<uint8_t>(SubscriptGlyph(key, true)));
            }
            AppendKey(s, joiner);
        }
        AppendKey(s, key);
    } else {
        StartNewSyllable(s, key);
    }
    if (ProcessLetter(s, key) == 1) EmitOutput(s);
}

bool HandleBackspaceKey(ComposerState &s) {
    BeginKey(s);
    if (s.keyCount == 0) {
        // The host erases a character the composer did not type for the syllable: the keys
        // before no longer tell what stands before the caret.
        PushKey(s, kStateBoundary, ' ');
        return false;
    }
    // The syllable's glyphs go (none when the count fell below zero), and it is typed again
    // without its last key.
    for (int i = 0; i < s.postedCount && i < kMaxSyllableBackspaces; i++) EraseOne(s);

    int &n = s.keyCount;
    if (s.keyBuf[n - 1] == 'f') {
        s.keyBuf[--n] = 0;
        s.state = kStateBoundary;
    } else if (n > 1 && IsMarker(s.keyBuf[n - 1]) && s.keyBuf[n - 2] == 'f') {
        s.keyBuf[--n] = 0;
        s.keyBuf[--n] = 0;
        s.state = kStateBoundary;
    } else {
        s.keyBuf[--n] = 0;
        if (n > 0 && s.keyBuf[n - 1] == 'f') s.keyBuf[--n] = 0;
        if (n > 1 && IsMarker(s.keyBuf[n - 1]) && s.keyBuf[n - 2] == 'f') {
            s.keyBuf[--n] = 0;
            s.keyBuf[--n] = 0;
        }
    }

    s.postedCount = 0;
    s.conjCount = 0;
    std::memset(s.outBuf, 0, sizeof s.outBuf);
    std::memset(s.history, 0, sizeof s.history);
    if (s.keyCount == 0) PushKey(s, kStateBoundary, ' ');  // the syllable is gone

    for (int i = 0; i < s.keyCount; i++) {
        int entry = s.keyBuf[i];
        if (IsMarker(entry)) continue;
        if (ProcessLetter(s, entry) == 1) EmitOutput(s);
    }
    return true;
}

void ResetAllFlags(ComposerState &s) {
    ClearConjunct(s);
    PushKey(s, kStateBoundary, ' ');
}

void EndSyllable(ComposerState &s, int key) {
    ClearConjunct(s);
    s.postedCount = 0;
    s.keyCount = 0;
    PushKey(s, kStateBoundary, key);
}

void BreakSyllable(ComposerState &s) { s.state = kStateBoundary; }

// ---- One code for the converters -------------------------------------------------------------

const ComposerActions *FeedKey(ComposerState &s, unsigned char code) {
    BeginKey(s);
    if (code == ' ') {
        PushKey(s, kStateBoundary, ' ');
        return nullptr;
    }
    int r;
    if (s.options.bilingual && IsMonolingualLatinCode(code)) {
        ClearOut(s);
        AppendOut(s, code);  // the bilingual encoding makes it the Latin letter
        r = 1;
    } else {
        r = ProcessLetter(s, code);
    }
    if (r == 1) EmitOutput(s);
    return s.actions.erase > 0 || s.actions.insertLength > 0 ? &s.actions : nullptr;
}
