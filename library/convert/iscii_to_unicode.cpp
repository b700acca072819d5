// ISCII to UTF-8: most codes plainly by a table, the others in their context (a repha in
// front of its cluster, the halant shown or joined, the nukta forms), and the export in pieces.
#include <cstring>
#include <memory>
#include <string>

#include "../base/last_error.h"
#include "iscii.h"
#include "results.h"
#include "unicode.h"
#include "unicode_forms.h"

namespace {

// Where IsciiToUnicode stands: the output so far and the consonant cluster a repha would go
// in front of (where its output starts, whether one is open, so that its signs and modifiers
// may follow, whether a halant links the next consonant to it).
struct IsciiReading {
    uint8_t *o;
    uint8_t *clusterStart;
    bool clusterOpen;
    bool linked;
};

// The UTF-8 of RA + ZWJ at the start of a cluster, and the cluster's end after the joiner
// is taken out.
uint8_t *DropRaJoiner(uint8_t *cluster, uint8_t *end) {
    static const uint8_t kRaJoiner[6] = {0xE0, 0xB2, 0xB0, 0xE2, 0x80, 0x8D};
    if (end - cluster < 6 || std::memcmp(cluster, kRaJoiner, 6) != 0) return end;
    std::memmove(cluster + 3, cluster + 6, static_cast<size_t>(end - cluster - 6));
    return end - 3;
}

// A code that is not plain there, at s[i]; returns the index of the last code it reads.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
size_t ReadInContext(const uint8_t *s, size_t n, size_t i, IsciiReading &st) {
    uint8_t c = s[i];
    uint8_t next = i + 1 < n ? s[i + 1] : 0;
    if (c == 239) return i + 1;  // ATR and the attribute or script code after it: no text
    bool consonant = IsConsonantCode(c);
    uint32_t pairCp = 0;
    if (c == kIsciiInvisible) {
        if (next == kIsciiRa) pairCp = kRra;
        else if (next == kIsciiLla) pairCp = kLlla;
        else if (next == 223) pairCp = kVocalicRrSign;
    }
    if (consonant || pairCp == kRra || pairCp == kLlla) {
        if (!st.linked || !st.clusterOpen) st.clusterStart = st.o;
        st.clusterOpen = true;
        st.linked = false;
        if (pairCp) {
            st.o = PutUtf8(st.o, pairCp);
            return i + 1;
        }
        st.o = PutUtf8(st.o, kMap.unicode[c]);
        return i;
    }
    if (c == kIsciiHalant) {
        bool afterConsonant = i > 0 && (IsConsonantCode(s[i - 1]) || s[i - 1] == kIsciiNukta);
        // RA that opens a cluster and takes a subscript: the joiner keeps it from being
        // shown as the repha.
        if (i > 0 && s[i - 1] == kIsciiRa && !(i > 1 && s[i - 2] == kIsciiInvisible) && st.clusterOpen &&
            st.o - st.clusterStart == 3 && next >= 179 && next <= 217)
            st.o = PutUtf8(st.o, kZwj);
        st.o = PutUtf8(st.o, kVirama);
        if (next == kIsciiHalant) {
            // The halant shown: the zero-width non-joiner keeps a consonant after it from
            // joining; after a lone NA it also tells it from the dead NA of 199. A repha
            // right after it belongs to this cluster.
            bool repha = i + 2 < n && s[i + 2] == kIsciiRepha;
            size_t a = repha ? i + 3 : i + 2;
            uint8_t after = a < n ? s[a] : 0;
            bool consonantAfter = IsConsonantCode(after) || after == kIsciiInvisible || after == kIsciiDeadNa;
            bool loneNa = i > 0 && s[i - 1] == kIsciiNa &&  // not joined by a halant, a shown one aside
                          !(i > 1 && s[i - 2] == kIsciiHalant && !(i > 2 && s[i - 3] == kIsciiHalant));
            if (consonantAfter || loneNa) st.o = PutUtf8(st.o, kZwnj);
            i++;
            st.clusterOpen = st.clusterOpen && repha;
            st.linked = false;
        } else if (next == kIsciiNukta) {
            st.o = PutUtf8(st.o, kZwj);
            i++;
            st.clusterOpen = st.linked = false;
        } else {
            st.linked = st.clusterOpen && afterConsonant;
        }
        return i;
    }
    st.linked = false;
    if (c == kIsciiRepha) {
        if (st.clusterOpen) {
            // RA + VIRAMA in front of the cluster: six bytes moved in ahead of it. A cluster
            // that starts with RA + joiner + virama needs the joiner no more: the repha is
            // the one in front.
            st.o = DropRaJoiner(st.clusterStart, st.o);
            std::memmove(st.clusterStart + 6, st.clusterStart, static_cast<size_t>(st.o - st.clusterStart));
            PutUtf8(PutUtf8(st.clusterStart, kRa), kVirama);
            st.o += 6;
        } else {
            st.o = PutUtf8(PutUtf8(st.o, kRa), kVirama);  // a repha with no cluster: a dead RA
        }
        st.clusterOpen = false;
        return i;
    }
    if (c == kIsciiDeadNa) {
        st.o = PutUtf8(PutUtf8(st.o, kNa), kVirama);
        st.clusterOpen = false;
        return i;
    }
    if (pairCp == kVocalicRrSign) {
        st.o = PutUtf8(st.o, pairCp);
        return i + 1;
    }
    if (c == kIsciiInvisible) {
        st.o = PutUtf8(st.o, kZwj);
        st.clusterOpen = false;
        return i;
    }
    if (next == kIsciiNukta && WithNukta(c)) {
        st.o = PutUtf8(st.o, WithNukta(c));
        i++;
        if (!IsIsciiVowelSign(c)) st.clusterOpen = false;
        return i;
    }
    if (c == kIsciiESign && next == kIsciiUuSign) {  // E + UU is the O sign
        st.o = PutUtf8(st.o, 0x0CCA);
        return i + 1;
    }
    uint32_t cp = kMap.unicode[c];
    if (cp) st.o = PutUtf8(st.o, cp);
    // Signs, the nukta and the modifiers stay with the cluster; anything else ends it.
    if (!(IsIsciiVowelSign(c) || c == kIsciiNukta || (c >= 161 && c <= 163))) st.clusterOpen = false;
    return i;
}

// The cluster state before s[i], where the codes from s[known] on are plain and `known` is
// where the state was last worked out; `o` is where the output of s[i] goes. It is followed
// from the last plain code that ends a cluster (none is open after it, and where it started
// no longer matters) or else from s[known].
IsciiReading ClusterStateAt(const uint8_t *s, size_t known, size_t i, IsciiReading state, uint8_t *o) {
    size_t from = i;
    uint8_t *at = o;
    while (from > known && kUtf8.of[s[from - 1]].kind != 0) at -= kUtf8.of[s[--from]].length;
    if (from > known) state = IsciiReading{at, at, false, false};
    unsigned previous = from > 0 ? kUtf8.asPrevious[s[from - 1]] : 0;
    for (size_t q = from; q < i; q++) {
        uint8_t c = s[q];
        unsigned kind = kUtf8.of[c].kind;
        bool consonant = (kind & kConsonantCode) != 0;
        if (consonant && !(state.linked && state.clusterOpen)) state.clusterStart = state.o;
        state.o += kUtf8.of[c].length;
        state.linked = (kind & kHalantCode) && state.clusterOpen && (previous & kAfterLinking);
        state.clusterOpen = consonant || ((kind & kKeepsCluster) && state.clusterOpen);
        previous = kUtf8.asPrevious[c];
    }
    return state;
}

}  // namespace

size_t IsciiToUnicode(const uint8_t *s, size_t n, uint8_t *out) {
    uint8_t *o = out;
    // Where the cluster state (see IsciiReading) was last worked out: before s[known].
    size_t known = 0;
    IsciiReading state{out, out, false, false};
    for (size_t i = 0; i < n; i++) {
        const IsciiForm &form = kUtf8.of[s[i]];
        // The code after it: 0 after the last one.
        if (!(form.notPlainBy & kUtf8.asNext[i + 1 < n ? s[i + 1] : 0])) {
            // A plain code: its UTF-8 (three bytes written, of which its length stand). Only the
            // codes read in context need the cluster state: it is worked out for them.
            std::memcpy(o, form.utf8, 3);
            o += form.length;
            continue;
        }
        for (;;) {
            if (s[i] == kIsciiRa && i + 1 < n && s[i + 1] == kIsciiHalant) {
                // RA is plain; the halant after it is read in context.
                std::memcpy(o, form.utf8, 3);
                o += form.length;
                i++;
            }
            state = ClusterStateAt(s, known, i, state, o);
            i = ReadInContext(s, n, i, state);
            o = state.o;
            known = i + 1;
            // A halant after an RA that the context reading took is read in context too.
            if (i + 1 >= n || s[i] != kIsciiRa || s[i + 1] != kIsciiHalant) break;
            i++;
        }
    }
    return static_cast<size_t>(o - out);
}

void IsciiToUnicode(const uint8_t *iscii, size_t length, std::string &out) {
    out.resize(kUnicodePerIscii * length);
    out.resize(IsciiToUnicode(iscii, length, reinterpret_cast<uint8_t *>(&out[0])));
}

namespace {

// The ISCII an export converts at a time, about.
constexpr size_t kIsciiPiece = 16384;

}  // namespace

// ISCII to UTF-8: every code has its text, so nothing is left out.
int IsciiToUnicodeExport(const char *src, char *dst, unsigned int dstSize) {
    if (!CheckConverterArguments(src, dstSize)) return 0;
    const uint8_t *s = reinterpret_cast<const uint8_t *>(src);
    size_t n = std::strlen(src);
    // In pieces that meet where each reads as it reads alone (IsciiJoins): counted first, unless
    // the most the text can give fits dst, then written, each straight into dst where the most
    // it can give fits, else aside (the conversion writes a little past what it gives).
    std::unique_ptr<uint8_t[]> aside;
    size_t asideSize = 0;
    auto convert = [&](uint8_t *out, size_t room) {
        size_t total = 0;
        for (size_t start = 0; start < n;) {
            size_t end = start + kIsciiPiece;
            while (end < n && !((IsciiJoins(s + end - 2, 2) & kIsciiMayBeFollowed) &&
                                (IsciiJoins(s + end, end + 1 < n ? 2 : 1) & kIsciiMayFollow)))
                end++;
            if (end > n) end = n;
            size_t most = kUnicodePerIscii * (end - start);
            if (out && total + most < room) {
                total += IsciiToUnicode(s + start, end - start, out + total);
            } else {
                if (most > asideSize) aside.reset(new uint8_t[asideSize = most]);
                size_t length = IsciiToUnicode(s + start, end - start, aside.get());
                if (out) std::memcpy(out + total, aside.get(), length);
                total += length;
            }
            start = end;
        }
        return total;
    };
    bool direct = dst && dstSize > kUnicodePerIscii * n;
    size_t total = convert(direct ? reinterpret_cast<uint8_t *>(dst) : nullptr, dstSize);
    if (total == 0) {
        LibraryLastError = kErrorNoOutput;
        return 0;
    }
    if (dst) {
        if (total >= dstSize) {
            LibraryLastError = kErrorDestinationSize;
            return 0;
        }
        if (!direct) convert(reinterpret_cast<uint8_t *>(dst), dstSize);
        dst[total] = '\0';
    }
    return ResultCount(total);
}
