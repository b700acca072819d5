// The composer for one input context (kannada-tovi-composer.h): the composer's state, and the
// text it typed since the last reset (its pre-edit), which UTF-8 output converts after every
// key and compares with the conversion before.
#include <cstring>
#include <new>

#include "../compose/composer.h"
#include "../include/kannada-tovi-composer.h"
#include "iscii.h"
#include "unicode.h"

namespace {

// The pre-edit holds at most kShortGlyphText glyphs; past kPreeditGlyphs, the glyphs no key
// can reach any more (all but the syllable's and a few before them) are committed.
constexpr int kPreeditGlyphs = 48;
constexpr int kReachBeforeSyllable = 8;
constexpr int kGlyphRoom = static_cast<int>(kShortGlyphText);
constexpr size_t kUtf8Room = kUnicodePerIscii * kIsciiPerGlyph * kShortGlyphText;

bool IsLetter(int key) { return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z'); }

// Whether a UTF-8 byte starts a code point.
bool StartsCodePoint(char b) { return (static_cast<unsigned char>(b) & 0xC0) != 0x80; }

int CodePoints(const char *s, size_t n) {
    int count = 0;
    for (size_t i = 0; i < n; i++) count += StartsCodePoint(s[i]);
    return count;
}

}  // namespace

struct ToviComposer {
    ComposerState state;
    int output;
    // The pre-edit: glyph codes of the output (monolingual ones for UTF-8), and their UTF-8.
    uint8_t glyphs[kGlyphRoom];
    int glyphCount;
    char utf8[kUtf8Room];
    size_t utf8Length;
    // The result's texts that are not the composer's actions.
    char insert[kUtf8Room];
    char commit[kUtf8Room];
    ToviComposerResult result;

    void Reset() {
        EndSyllable(state, ' ');
        glyphCount = 0;
        utf8Length = 0;
    }

    bool Utf8() const { return output == TOVI_COMPOSER_UTF8; }

    // Takes the key's actions into the pre-edit, whose start no erasure passes (what stands
    // before it is not the composer's to erase); returns the erasures made.
    int ApplyToPreedit(const ComposerActions &a) {
        int erased = a.erase < glyphCount ? a.erase : glyphCount;
        glyphCount -= erased;
        int room = kGlyphRoom - glyphCount;
        int n = a.insertLength < room ? a.insertLength : room;
        std::memcpy(glyphs + glyphCount, a.insert, static_cast<size_t>(n));
        glyphCount += n;
        return erased;
    }

    // Where the glyphs that no key can reach any more end, once the pre-edit is long: all
    // but the syllable's glyphs and a few before them (0: nowhere).
    int Unreachable() const {
        if (glyphCount <= kPreeditGlyphs) return 0;
        int keep = (state.postedCount > 0 ? state.postedCount : 0) + kReachBeforeSyllable;
        return glyphCount > keep ? glyphCount - keep : 0;
    }

    void Commit(int cut, size_t length) {
        result.commitLength = static_cast<int>(length);
        std::memmove(glyphs, glyphs + cut, static_cast<size_t>(glyphCount - cut));
        glyphCount -= cut;
    }

    // UTF-8: the pre-edit converted again, told as the change from what the host shows. The
    // unreachable glyphs are committed at a place where the two parts convert to the whole
    // conversion cut in two; a full pre-edit is cut where it must be, and the host's text is
    // set right.
    void Convert() {
        char whole[kUtf8Room], rest[kUtf8Room], shown[kUtf8Room];
        size_t length = ShortGlyphsToUnicode(glyphs, static_cast<size_t>(glyphCount), reinterpret_cast<uint8_t *>(whole));
        const char *target = whole;  // the host's text after the key: what is committed, then the pre-edit
        int cut = 0;
        size_t front = 0, restLength = 0;
        if (int last = Unreachable()) {
            for (int at = last; at > 0 && at > last - kReachBeforeSyllable && !cut; at--) {
                front = ShortGlyphsToUnicode(glyphs, static_cast<size_t>(at), reinterpret_cast<uint8_t *>(commit));
                restLength = ShortGlyphsToUnicode(glyphs + at, static_cast<size_t>(glyphCount - at),
                                                  reinterpret_cast<uint8_t *>(rest));
                bool split = front + restLength == length && std::memcmp(commit, whole, front) == 0 &&
                             std::memcmp(rest, whole + front, restLength) == 0;
                if (split || (at == last - kReachBeforeSyllable + 1 && glyphCount >= kGlyphRoom / 2)) cut = at;
            }
            if (cut) {
                std::memcpy(shown, commit, front);
                std::memcpy(shown + front, rest, restLength);
                target = shown;
                length = front + restLength;
            }
        }
        size_t same = 0;
        while (same < length && same < utf8Length && target[same] == utf8[same]) same++;
        while (same > 0 && ((same < length && !StartsCodePoint(target[same])) ||
                            (same < utf8Length && !StartsCodePoint(utf8[same]))))
            same--;
        result.erase = CodePoints(utf8 + same, utf8Length - same);
        std::memcpy(insert, target + same, length - same);
        result.insertLength = static_cast<int>(length - same);
        if (cut) {
            Commit(cut, front);
            std::memcpy(utf8, rest, restLength);
            utf8Length = restLength;
        } else {
            std::memcpy(utf8, whole, length);
            utf8Length = length;
        }
    }

    int Feed(int key) {
        result = ToviComposerResult{0, 0, insert, 0, commit, 0, nullptr, 0};
        const ComposerActions &a = state.actions;
        if (IsLetter(key)) {
            HandleLetterKey(state, key);
        } else if (key == 8 && HandleBackspaceKey(state)) {
        } else if (key == 8 && Utf8() && glyphCount > 0) {
            // No syllable to take back: the last glyph goes, as the host's own Backspace
            // would take it from the glyph text.
            state.actions.erase = 1;
            state.actions.insertLength = 0;
        } else {
            if (key == 8) {
                // The host erases one character itself (a glyph code: UTF-8 output gets here
                // only with an empty pre-edit); the pre-edit follows.
                if (glyphCount > 0) glyphCount--;
            } else {
                Reset();
            }
            SetPreedit();
            return 0;
        }
        result.used = 1;
        int erased = ApplyToPreedit(a);
        if (Utf8()) {
            Convert();
        } else {
            result.erase = erased;
            result.insert = reinterpret_cast<const char *>(a.insert);
            result.insertLength = a.insertLength;
            if (int cut = Unreachable()) {
                std::memcpy(commit, glyphs, static_cast<size_t>(cut));
                Commit(cut, static_cast<size_t>(cut));
            }
        }
        SetPreedit();
        return 1;
    }

    void SetPreedit() {
        result.preedit = Utf8() ? utf8 : reinterpret_cast<const char *>(glyphs);
        result.preeditLength = Utf8() ? static_cast<int>(utf8Length) : glyphCount;
    }

    bool SetOptions(int newOutput, int flags) {
        if (newOutput < TOVI_COMPOSER_MONOLINGUAL || newOutput > TOVI_COMPOSER_UTF8) return false;
        Reset();
        output = newOutput;
        state.options.bilingual = output == TOVI_COMPOSER_BILINGUAL;
        state.options.keyEngine = (flags & TOVI_COMPOSER_KEY_ENGINE) != 0;
        state.options.joiners = 1;
        return true;
    }
};

extern "C" {

ToviComposer *TOVI_CDECL ToviComposerNew(int output, int flags) {
    ToviComposer *c = new (std::nothrow) ToviComposer;
    if (!c) return nullptr;
    c->state = NewComposerState();
    c->glyphCount = 0;
    c->utf8Length = 0;
    if (!c->SetOptions(output, flags)) {
        delete c;
        return nullptr;
    }
    return c;
}

void TOVI_CDECL ToviComposerFree(ToviComposer *composer) { delete composer; }

int TOVI_CDECL ToviComposerSetOptions(ToviComposer *composer, int output, int flags) {
    return composer && composer->SetOptions(output, flags) ? 1 : 0;
}

int TOVI_CDECL ToviComposerFeed(ToviComposer *composer, int key, ToviComposerResult *result) {
    if (!composer) return 0;
    int used = composer->Feed(key);
    if (result) *result = composer->result;
    return used;
}

void TOVI_CDECL ToviComposerReset(ToviComposer *composer) {
    if (composer) composer->Reset();
}

}  // extern "C"
