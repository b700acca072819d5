/*
 * Kannada-Tovi: the phonetic composer for one text field or input context.
 *
 * A host (an input-method engine, an editor, a test) makes one composer per input context and
 * feeds it keys; each key gives back, as plain data, what to do to the text before the caret.
 * A composer holds all of its state and reads or writes nothing of the process (not the
 * engine's switches, not the last-error value), so composers in different threads never meet;
 * one composer is for one thread at a time. The keyboard hook, the converters and the composer
 * run the same routines: the glyph codes a composer gives for a sequence of keys are those the
 * hook types for them, and its UTF-8 is the Unicode bridge's conversion of the monolingual
 * glyphs (ToviMonolingualGlyph2Unicode).
 *
 * All functions have C linkage and the platform's C calling convention; on Windows they are
 * exported from Kannada-Tovi.dll under these names.
 */
#ifndef KANNADA_TOVI_COMPOSER_H
#define KANNADA_TOVI_COMPOSER_H

#include "kannada-tovi.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ToviComposer ToviComposer;

/* Outputs. Glyph outputs count in bytes, UTF-8 in code points. */
#define TOVI_COMPOSER_MONOLINGUAL 0 /* glyph codes of the monolingual encoding */
#define TOVI_COMPOSER_BILINGUAL 1   /* glyph codes of the bilingual encoding */
#define TOVI_COMPOSER_UTF8 2        /* Kannada in UTF-8 */

/* Flags. */
#define TOVI_COMPOSER_KEY_ENGINE 1 /* "a" is the long-a key after a consonant, "A" the short */

/* What one key asks of the host, in order: erase `erase` characters before the caret (bytes
 * of glyph codes, code points of UTF-8), then insert `insertLength` bytes from `insert`.
 *
 * For a host that shows the text being composed as pre-edit text instead: `preedit` is the
 * text typed since the last reset that later keys may still change (the pre-edit to show);
 * `commit` is text that left the pre-edit with this key, final (commit it before showing the
 * new pre-edit). Applying erase and insert to the text before the caret gives the committed
 * text followed by the pre-edit.
 *
 * The erasures never pass the start of the pre-edit: the text before it is the host's. The
 * pointers point into the composer and are valid until its next call; the texts are not
 * zero-terminated. A key that is not used leaves erase, insert and commit empty. */
typedef struct ToviComposerResult {
    int used; /* 1: the key was taken; 0: the host handles the key itself */
    int erase;
    const char *insert;
    int insertLength;
    const char *commit;
    int commitLength;
    const char *preedit;
    int preeditLength;
} ToviComposerResult;

/* A new composer with an output and flags; null when the output is unknown or memory is
 * short. Free it with ToviComposerFree (null is allowed there). */
TOVI_EXPORT ToviComposer *TOVI_CDECL ToviComposerNew(int output, int flags);
TOVI_EXPORT void TOVI_CDECL ToviComposerFree(ToviComposer *composer);

/* Changes the output and flags; the syllable being composed ends, as with ToviComposerReset.
 * 1, or 0 (nothing changed) for an unknown output or a null composer. */
TOVI_EXPORT int TOVI_CDECL ToviComposerSetOptions(ToviComposer *composer, int output, int flags);

/* Feeds one key: a letter 'a'-'z' or 'A'-'Z' (the capital is the shifted key), or 8 for
 * Backspace. A letter is always used. Backspace is used while there is a syllable to take back
 * (it erases the syllable and types it again without its last key) and, for UTF-8 output,
 * while the pre-edit is not empty (it takes back the pre-edit's last glyph, as the hook's
 * Backspace takes a glyph); otherwise it is not used: the host erases one character itself,
 * and the pre-edit loses its last one too. Any other key is not used and ends the syllable,
 * as ToviComposerReset does. Returns `used`; no allocation. */
TOVI_EXPORT int TOVI_CDECL ToviComposerFeed(ToviComposer *composer, int key, ToviComposerResult *result);

/* Ends the syllable: the pre-edit is final (a pre-edit host commits it), and the next key
 * starts afresh. */
TOVI_EXPORT void TOVI_CDECL ToviComposerReset(ToviComposer *composer);

#ifdef __cplusplus
}
#endif

#endif /* KANNADA_TOVI_COMPOSER_H */
