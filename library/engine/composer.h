// The phonetic composer: Latin letter keys in, glyph codes out, one syllable at a
// time. All routines work on one ComposerState value; the process's own instance (`Composer`)
// lives at the export edge, and a test can run a fresh value of its own.
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
constexpr int kCaptureSize = 100;
// How many of the glyphs typed for a syllable are remembered, so that a Backspace of the
// engine knows whether a joiner stands before the glyph it erased.
constexpr int kPostedRecord = 64;

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

struct ComposerState {
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
    int32_t joinerPosted;
    uint8_t postedGlyphs[kPostedRecord];  // what was typed, by position 0..postedCount-1
    int32_t captureMode;
    uint8_t capture[kCaptureSize];
    int32_t captureLength;
};

// A fresh composer: all zero, state 1.
ComposerState NewComposerState();

// The process's composer, the one the hook, FeedKey and the exports use.
extern ComposerState Composer;

// ---- The state machine ----------------------------------------------------------------
int ProcessLetter(ComposerState &s, int key);
void PushKey(ComposerState &s, int newState, int key);
int StartSyllable(ComposerState &s, int key);
int ApplyKagunitha(ComposerState &s, int base, int key);
int ApplySpecialKagunitha(ComposerState &s, int base, int key);
void ApplyOvelOmitor(ComposerState &s, int base);
void ClearConjunct(ComposerState &s);
int IsVowelKey(int key);

// ---- Syllable bookkeeping that the hook runs (the hook decides when) -------------------
void HandleLetterKey(ComposerState &s, int key);
void HandleBackspaceKey(ComposerState &s);

// Types (or, in capture mode, captures) outBuf and empties it.
void EmitOutput(ComposerState &s);

// Runs one code through the process's composer with the output captured instead of typed:
// returns the captured bytes (zero-terminated, Backspaces as 8, after the font conversion),
// or null when nothing was captured. The string lives in the composer until the next call.
// Space (32) closes the syllable and returns null. The caller resets between words with
// ToviResetAllFlags (kannada-tovi.h).
const char *FeedKey(unsigned char code);
const char *FeedKey(ComposerState &s, unsigned char code);
