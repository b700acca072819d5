// The phonetic composer: Latin letter keys in, actions out (erase so many characters before
// the caret, then insert these glyph codes), one syllable at a time. All routines work on one
// ComposerState value, which holds the whole composition and its options; none types, reads
// the shared engine state or calls the platform. The hook, the converters and the
// per-context composer each keep their own values and apply the actions themselves.
#pragma once

#include <cstdint>

// Capacities. outBuf and the history rows hold bytes at indexes 1..kOutBufBytes and a zero
// after them; index 0 is never used.
constexpr int kRecentKeys = 5;
constexpr int kConjGlyphs = 5;
constexpr int kOutBufBytes = 9;
constexpr int kOutBufSize = kOutBufBytes + 2;
constexpr int kHistoryRows = 4;
constexpr int kKeyBufCapacity = 38;
// How many of the last glyphs typed are remembered, so that an erasure knows whether a
// joiner stands before the glyph it erased.
constexpr int kPostedRecord = 64;
// More erasures than any syllable of the key buffer types: a count past it is a fault of the
// bookkeeping and is cut to it.
constexpr int kMaxSyllableBackspaces = 255;
// More codes than one key inserts (a Backspace retypes its syllable, at most the key buffer).
constexpr int kActionBytes = 256;

// Engine states (the value of `state`).
enum ComposerStateValue {
    kStateBoundary = 1,       // nothing pending that a vowel could change
    kStateConsonant = 2,      // after a consonant with its inherent vowel
    kStateHalant = 3,         // consonant + "f", no chain yet
    kStateConjunct = 4,       // inside a conjunct chain
    kStateExtended = 5,       // after "X" made the extended form of r, L, P or j
    kStateExtendedHalant = 6, // extended "j" + "f"
    kStateExtendedChain = 7,  // extended "j" + "f" + consonant
};

struct ComposerOptions {
    int32_t bilingual;  // output in the bilingual encoding, else the monolingual one
    int32_t keyEngine;  // "a" is the long-a key after a consonant, "A" the inherent vowel
    // Typing's joiners: a joiner between two subscripts of one output, and an erased glyph
    // takes the joiner typed before it (the glyphs of the syllable are remembered). Without,
    // the glyphs alone, each erasure taking one character.
    int32_t joiners;
};

// What one key asks of its host, in order: erase `erase` characters before the caret, then
// insert `insert[0 .. insertLength)`. Interleaved erasures and insertions are folded into this
// one pair as they are recorded (an erasure takes back a code inserted for the same key first).
struct ComposerActions {
    int32_t erase;
    int32_t insertLength;
    uint8_t insert[kActionBytes];
    int32_t emissions;       // output steps the key ran (some may have had nothing to type)
    int32_t emptyEmissions;  // ... of which had nothing
};

struct ComposerState {
    ComposerOptions options;
    int32_t state;
    int32_t recentKeys[kRecentKeys];  // index 0 the most recent
    int32_t halantBase;
    int32_t conjCount;
    int32_t conjGlyphs[kConjGlyphs + 1];  // 1..conjCount
    uint8_t outBuf[kOutBufSize];
    uint8_t history[kHistoryRows][kOutBufSize];  // row 0 is history row 1 (the previous emission)
    int32_t keyBuf[kKeyBufCapacity];  // keys of the syllable with conjunct markers (0, 246, 247)
    int32_t keyCount;
    int32_t postedCount;
    uint8_t postedGlyphs[kPostedRecord];  // what was typed at position p, at p % kPostedRecord
    ComposerActions actions;              // the current key's
};

// A fresh composer: all zero, state 1, typing's joiners, monolingual output.
ComposerState NewComposerState();

// ---- The state machine ----------------------------------------------------------------
int ProcessLetter(ComposerState &s, int key);
void PushKey(ComposerState &s, int newState, int key);
int StartSyllable(ComposerState &s, int key);
int ApplyKagunitha(ComposerState &s, int base, int key);
int ApplySpecialKagunitha(ComposerState &s, int base, int key);
void ApplyOvelOmitor(ComposerState &s, int base);
void ClearConjunct(ComposerState &s);
int IsVowelKey(int key);

// The output step: turns outBuf into actions (in the output encoding, with typing's joiners
// when the options ask for them), keeps it as history row 1 and empties it.
void EmitOutput(ComposerState &s);

// ---- One key, as typing runs it: the state machine inside the syllable bookkeeping -------
// Each starts the key's actions afresh (s.actions).
void HandleLetterKey(ComposerState &s, int key);
// False, with no actions, when there is no syllable to take back: the host's own Backspace
// erases then.
bool HandleBackspaceKey(ComposerState &s);

// Syllable ends that typing makes.
// Forgets the syllable being composed (the reset export): the conjunct, and a boundary key.
void ResetAllFlags(ComposerState &s);
// A key that is no letter (space, Enter, a digit, ...): nothing of the syllable stays, and the
// key is remembered as the last one.
void EndSyllable(ComposerState &s, int key);
// Control or Alt went down: the state machine starts afresh, the key buffer stays.
void BreakSyllable(ComposerState &s);

// ---- One code, as the converters run it (no syllable bookkeeping) -----------------------
// Runs one code through the state machine and returns its actions, or null when it asks for
// nothing. Space (32) closes the syllable. In the bilingual output, a Latin-letter code of the
// monolingual encoding is typed as its letter.
const ComposerActions *FeedKey(ComposerState &s, unsigned char code);
