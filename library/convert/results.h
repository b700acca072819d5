// What the converter exports share: the check of their arguments, the count they return, and
// the decorated twins with their result buffers.
#pragma once

#include <cstddef>

// The check every converter makes first: -4 for a null or empty source, -3 for a dstSize of 0.
// True when the conversion may go on.
bool CheckConverterArguments(const char *src, unsigned int dstSize);

// A count as an export returns it: the count, or 0 with -3 when it is more than an int holds.
int ResultCount(size_t count);

// The longest source a twin takes; a longer one is refused with kErrorTooLong.
constexpr size_t kTwinSourceLimit = 10000;

// The twins' result buffers, one of each kind per thread: a twin's result lives until the next
// call of a twin of its kind on the same thread, or until the thread ends.
enum TwinResult {
    kGlyphResult,    // the glyph-mapping twins and ISCII to glyph
    kIsciiResult,    // glyph to ISCII
    kSortKeyResult,  // glyph to KSCLP
    kTwinResultKinds,
};

using TwinConverter = int (*)(char *src, char *dst, unsigned int dstSize);

// A twin: takes a non-empty source (-4), of at most kTwinSourceLimit bytes when `limited`
// (-7), sizes the result with a size query on a copy of it (the query leaves the caller's
// string alone), then converts the source itself into a fresh buffer of the kind, which
// replaces the thread's previous one. Null when the conversion gives nothing or fails (its
// last error stays).
char *RunTwin(char *src, TwinResult kind, bool limited, TwinConverter convert);
