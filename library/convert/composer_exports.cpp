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
        EndSyllable(state, ' ', true);
        glyphCount = 0;
        utf8Length = 0;
    }

    bool Utf8() const { return output == TOVI_COMPOSER_UTF8; }

    // Takes the key's actions into the pre-edit; erasures past its start are returned.
    int ApplyToPreedit(const ComposerActions &a) {
        int erased = a.erase < glyphCount ? a.erase : glyphCount;
        glyphCount -= erased;
        int room = kGlyphRoom - glyphCount;
        int n = a.insertLength < room ? a.insertLength : room;
        std::memcpy(glyphs + glyphCount, a.insert, static_cast<size_t>(n));
        glyphCount += n;
        return a.erase - erased;
    }

    // UTF-8: the pre-edit converted again, told as the change from the conversion before.
    void Convert(int erasedBefore) {
        char fresh[kUtf8Room];
        size_t length = ShortGlyphsToUnicode(glyphs, static_cast<size_t>(glyphCount), reinterpret_cast<uint8_t *>(fresh));
        size_t same = 0;
        while (same < length && same < utf8Length && fresh[same] == utf8[same]) same++;
        while (same > 0 && ((same < length && !StartsCodePoint(fresh[same])) ||
                            (same < utf8Length && !StartsCodePoint(utf8[same]))))
            same--;
        result.erase = CodePoints(utf8 + same, utf8Length - same) + erasedBefore;
        std::memcpy(insert, fresh + same, length - same);
        result.insert = insert;
        result.insertLength = static_cast<int>(length - same);
        std::memcpy(utf8, fresh, length);
        utf8Length = length;
    }

    // Commits the glyphs that no key can reach any more once the pre-edit is long. For UTF-8 a
    // place is taken only where the two parts convert to the whole conversion cut in two.
    void CommitUnreachable() {
        if (glyphCount <= kPreeditGlyphs) return;
        int keep = (state.postedCount > 0 ? state.postedCount : 0) + kReachBeforeSyllable;
        for (int cut = glyphCount - keep; cut > 0 && cut > glyphCount - keep - kReachBeforeSyllable; cut--) {
            size_t front = static_cast<size_t>(cut);
            if (Utf8()) {
                char rest[kUtf8Room];
                front = ShortGlyphsToUnicode(glyphs, static_cast<size_t>(cut), reinterpret_cast<uint8_t *>(commit));
                size_t restLength = ShortGlyphsToUnicode(glyphs + cut, static_cast<size_t>(glyphCount - cut),
                                                         reinterpret_cast<uint8_t *>(rest));
                bool whole = front + restLength == utf8Length && std::memcmp(commit, utf8, front) == 0 &&
                             std::memcmp(rest, utf8 + front, restLength) == 0;
                // A full pre-edit is cut wherever it must be.
                if (!whole && glyphCount < kGlyphRoom - kActionBytes / 2) continue;
                std::memcpy(utf8, rest, restLength);
                utf8Length = restLength;
            } else {
                std::memcpy(commit, glyphs, front);
            }
            result.commit = commit;
            result.commitLength = static_cast<int>(front);
            std::memmove(glyphs, glyphs + cut, static_cast<size_t>(glyphCount - cut));
            glyphCount -= cut;
            return;
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
        int erasedBefore = ApplyToPreedit(a);
        if (Utf8()) {
            Convert(erasedBefore);
        } else {
            result.erase = a.erase;
            result.insert = reinterpret_cast<const char *>(a.insert);
            result.insertLength = a.insertLength;
        }
        CommitUnreachable();
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
