/*
 * Kannada-Tovi: phonetic Kannada typing for 8-bit glyph fonts, and converters between the
 * monolingual and bilingual glyph encodings, ISCII, KSCLP sort keys and Unicode.
 *
 * Every export has C linkage. Strings are zero-terminated 8-bit byte strings. Exports return 1
 * or a count for success and 0 for failure, leaving a negative code in the library's last-error
 * value, one per thread (ToviGetLastError):
 *   -1 engine already running          -2 hook install failed / engine not running
 *   -3 destination size 0 or too small, or a result longer than INT_MAX bytes
 *   -4 null or empty input             -5 conversion produced nothing
 *   -6 out of memory                   -7 source too long for a twin (over 10,000 bytes)
 * Comparisons return -1, 0, 1, or 999 on failure.
 *
 * Threads: every converter (the glyph mapping, ISCII, KSCLP, comparison and Unicode exports
 * and their twins) may be called from many threads at once. Its result depends only on its
 * input and the export called: never on the engine's switches (font type, key engine) nor on
 * another call. A twin's result buffer belongs to the calling thread (see each group).
 *
 * Twins marked TOVI_STDCALL use the platform's standard calling convention. On Windows they are
 * exported under their decorated names (given beside each); on Linux under the plain name shown.
 */
#ifndef KANNADA_TOVI_H
#define KANNADA_TOVI_H

#include <stdint.h>

#if defined(_WIN32)
#define TOVI_CDECL __cdecl
#define TOVI_STDCALL __stdcall
#define TOVI_EXPORT
#else
#define TOVI_CDECL
#define TOVI_STDCALL
#define TOVI_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Last error ---------------------------------------------------------------------- */

/* The calling thread's last-error value; reading it does not clear it. */
TOVI_EXPORT int TOVI_CDECL ToviGetLastError(void);

/* ---- Engine lifecycle ---------------------------------------------------------------- */

/* engineType 0 hooks only the calling thread, non-zero every thread. fontType non-zero types
 * the monolingual encoding, 0 the bilingual one. Returns 1, or 0 with -1 (already running)
 * or -2 (hook failed). */
TOVI_EXPORT int TOVI_CDECL ToviStartKeyboardEngine(int engineType, int fontType, int showTrayIcon);
/* Windows: _ToviStartKeyboardEngineVB@12 (passes only the low byte of showTrayIcon on) */
TOVI_EXPORT int TOVI_STDCALL ToviStartKeyboardEngineVB(int engineType, int fontType, int showTrayIcon);
/* Starts the same engine typing Unicode Kannada instead of glyph codes: while Scroll Lock is on,
 * the focus window receives UTF-16 characters and Backspaces (on Windows injected with
 * SendInput and KEYEVENTF_UNICODE, so a Unicode window takes them as typed). The syllable
 * being composed is taken back with Backspaces by the composer's count; a Backspace with no
 * syllable to take back erases one character of the window's. engineType and showTrayIcon as
 * above; the stop exports stop it. Returns 1, or 0 with -1 or -2 as above. */
TOVI_EXPORT int TOVI_CDECL ToviStartUnicodeKeyboardEngine(int engineType, int showTrayIcon);
/* Windows: _ToviStartUnicodeKeyboardEngineVB@8 */
TOVI_EXPORT int TOVI_STDCALL ToviStartUnicodeKeyboardEngineVB(int engineType, int showTrayIcon);
TOVI_EXPORT int TOVI_CDECL ToviStopKeyboardEngine(void);
/* Windows: _ToviStopKeyboardEngineVB@0 */
TOVI_EXPORT int TOVI_STDCALL ToviStopKeyboardEngineVB(void);
TOVI_EXPORT int TOVI_CDECL ToviChangeEngineType(int engineType);
TOVI_EXPORT int TOVI_CDECL ToviChangeFontType(int fontType);
/* Sends WM_FONTCHANGE to every top-level window; returns the broadcast's result. */
TOVI_EXPORT intptr_t TOVI_CDECL UpdateFonts(void);

/* ---- Typing -------------------------------------------------------------------------- */

/* 1 when the shared font type is monolingual (non-zero), else 0. */
TOVI_EXPORT int TOVI_CDECL ToviGetCurrentFontType(void);
/* Makes "a" the long-a key of the hook in every process from now on; there is no way back.
 * The converters do not follow it. */
TOVI_EXPORT void TOVI_CDECL ToviSetKeyEngine(void);
/* Forgets the syllable being composed. */
TOVI_EXPORT void TOVI_CDECL ToviResetAllFlags(void);
/* Windows: _ToviResetAllFlagsVB@0 */
TOVI_EXPORT void TOVI_STDCALL ToviResetAllFlagsVB(void);
/* Posts the bytes of s from its second byte on to the focus window (8 = Backspace). */
TOVI_EXPORT int TOVI_CDECL ToviSendCharacters(const char *s);
/* Scroll Lock is the Kannada switch. Windows twins: _ToviTurnOnScrollLockVB@0, _ToviTurnOffScrollLockVB@0 */
TOVI_EXPORT int TOVI_CDECL ToviTurnOnScrollLock(void);
TOVI_EXPORT int TOVI_CDECL ToviTurnOffScrollLock(void);
TOVI_EXPORT int TOVI_STDCALL ToviTurnOnScrollLockVB(void);
TOVI_EXPORT int TOVI_STDCALL ToviTurnOffScrollLockVB(void);
/* The keyboard hook procedure. Windows: _ToviKBDProc@12 */
TOVI_EXPORT intptr_t TOVI_STDCALL ToviKBDProc(int code, uintptr_t virtualKey, intptr_t keyData);

/* ---- Monolingual and bilingual glyph mapping ----------------------------------------- */

/* dst may be src (in place) or null (size query: returns strlen(src) + 1). */
TOVI_EXPORT unsigned int TOVI_CDECL ToviMonolingual2BilingualGlyph(const char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviBilingual2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize);
/* Twins: the result is a library-owned buffer of the calling thread, valid until the thread's
 * next call of a glyph-result twin (these two and the ISCII-to-glyph twins) or until the thread
 * ends; null for an empty source (-4). Any length.
 * Windows: _ToviMonolingual2BilingualGlyphVB@4, _ToviBilingual2MonolingualGlyphVB@4 */
TOVI_EXPORT char *TOVI_STDCALL ToviMonolingual2BilingualGlyphVB(const char *src);
TOVI_EXPORT char *TOVI_STDCALL ToviBilingual2MonolingualGlyphVB(const char *src);

/* ---- Glyph and ISCII conversion ------------------------------------------------------ */

/* Glyph to ISCII normalises src in place (the bilingual form leaves it bilingual again).
 * ISCII to bilingual glyph rewrites the ASCII letters of src to their monolingual codes. */
TOVI_EXPORT int TOVI_CDECL ToviMonolingualGlyph2ISCII(char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviBilingualGlyph2ISCII(char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviISCII2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviISCII2BilingualGlyph(char *src, char *dst, unsigned int dstSize);
/* Twins: each converts its source as the plain export does, into a library-owned buffer of the
 * calling thread. The glyph-to-ISCII result is valid until the thread's next glyph-to-ISCII
 * twin call; the ISCII-to-glyph result until its next glyph-result twin call (the mapping twins
 * share it); both until the thread ends. Null for an empty source (-4), a source of more than
 * 10,000 bytes (-7), or a conversion that gives nothing or fails (its own last error).
 * Windows: _ToviMonolingualGlyph2ISCIIVB@4, _ToviBilingualGlyph2ISCIIVB@4,
 *          _ToviISCII2MonolingualGlyphVB@4, _ToviISCII2BilingualGlyphVB@4 */
TOVI_EXPORT char *TOVI_STDCALL ToviMonolingualGlyph2ISCIIVB(char *src);
TOVI_EXPORT char *TOVI_STDCALL ToviBilingualGlyph2ISCIIVB(char *src);
TOVI_EXPORT char *TOVI_STDCALL ToviISCII2MonolingualGlyphVB(char *src);
TOVI_EXPORT char *TOVI_STDCALL ToviISCII2BilingualGlyphVB(char *src);

/* ---- KSCLP sort keys and comparison -------------------------------------------------- */

TOVI_EXPORT int TOVI_CDECL ToviMonolingualGlyph2KSCLP(char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviBilingualGlyph2KSCLP(char *src, char *dst, unsigned int dstSize);
/* Twins: the whole key, in a library-owned buffer of the calling thread, valid until the
 * thread's next key twin call or until the thread ends. Null for an empty source (-4), a
 * source of more than 10,000 bytes (-7) or an empty key.
 * Windows: _ToviMonolingualGlyph2KSCLPVB@4, _ToviBilingualGlyph2KSCLPVB@4 */
TOVI_EXPORT char *TOVI_STDCALL ToviMonolingualGlyph2KSCLPVB(char *src);
TOVI_EXPORT char *TOVI_STDCALL ToviBilingualGlyph2KSCLPVB(char *src);
/* Compare the whole keys of a and b; neither string is written. */
TOVI_EXPORT int TOVI_CDECL ToviMonolingualGlyphCompare(const char *a, const char *b);
TOVI_EXPORT int TOVI_CDECL ToviBilingualGlyphCompare(const char *a, const char *b);
/* Windows: _ToviMonolingualGlyphCompareVB@8, _ToviBilingualGlyphCompareVB@8 */
TOVI_EXPORT int TOVI_STDCALL ToviMonolingualGlyphCompareVB(const char *a, const char *b);
TOVI_EXPORT int TOVI_STDCALL ToviBilingualGlyphCompareVB(const char *a, const char *b);

/* ---- Unicode bridge ------------------------------------------------------------------ */

/* Glyph string or ISCII to UTF-8 Kannada and back; same conventions as the ISCII converters
 * (the result is the output length; -5 when there is none). Every glyph code and ISCII code
 * that has a meaning comes out; ASCII passes through (ASCII letters of monolingual glyph text
 * only where their codes are no Kannada glyph).
 *
 * From UTF-8, what the encoding cannot hold is left out whole (see ToviUnicodeUnheld): a
 * syllable that would not come back from the encoding as it was, and each other character
 * that would not (a letter of another script, a Latin letter the monolingual encoding has no
 * code for, a byte that is not UTF-8). Everything else comes back as it was, up to the
 * zero-width joiners (glyph text has none; Kannada shows a halant the same with either) and
 * the parts of a two-part vowel sign; glyph text writes Kannada digits and the danda with
 * ASCII digits and the full stop. So no syllable turns into another text. A caller that must
 * not lose text asks ToviUnicodeUnheld first. */
TOVI_EXPORT int TOVI_CDECL ToviMonolingualGlyph2Unicode(const char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviBilingualGlyph2Unicode(const char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviUnicode2MonolingualGlyph(const char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviUnicode2BilingualGlyph(const char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviISCII2Unicode(const char *src, char *dst, unsigned int dstSize);
TOVI_EXPORT int TOVI_CDECL ToviUnicode2ISCII(const char *src, char *dst, unsigned int dstSize);

/* The encodings of ToviUnicodeUnheld. */
#define TOVI_MONOLINGUAL_GLYPHS 1
#define TOVI_BILINGUAL_GLYPHS 2
#define TOVI_ISCII 3

/* What of the UTF-8 text utf8 an encoding cannot hold, one character for each syllable (or
 * other character) that the conversion from Unicode to that encoding leaves out: in such a
 * syllable, the first character that does not come back from the encoding together with the
 * characters before it (the syllable alone would come back). Zero-width joiners are never
 * named; a byte that is not UTF-8 is named with code point -1.
 * Returns how many there are (0: the encoding holds the whole text) and writes the byte offset
 * of the first `capacity` of them, in text order, into offsets[] and their code points into
 * codePoints[] (either may be null). Returns -1, with the last error -4, when utf8 is null or
 * encoding is none of TOVI_MONOLINGUAL_GLYPHS, TOVI_BILINGUAL_GLYPHS and TOVI_ISCII.
 * Thread-safe, like the plain converters. */
TOVI_EXPORT int TOVI_CDECL ToviUnicodeUnheld(const char *utf8, int encoding, int *offsets, int *codePoints,
                                             int capacity);

#ifdef __cplusplus
}
#endif

#endif /* KANNADA_TOVI_H */
