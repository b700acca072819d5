// tovi convert: Kannada text from one encoding to another, line by line, line ends kept.
//
// A syllable or character the target cannot hold stops the conversion with its line, column
// (in characters) and code point, unless -c leaves them out (then their count is reported at
// the end). A long line is converted in pieces cut after an ASCII character that is no letter
// (nothing of a syllable reaches across one), so memory stays small.
#include <cstdio>

#include "commands.h"
#include "encodings.h"
#include "lines.h"

namespace {

constexpr size_t kPieceSize = 65536;

bool EndsPiece(unsigned char c) { return (c >= 1 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126); }

const char kFormats[] = "mono, bilingual, iscii, unicode";

std::string Character(const Unheld &u) {
    if (!u.codePoint) return "code " + std::to_string(u.code);
    if (u.code < 0) return "a byte that is not UTF-8";
    char text[24];
    std::snprintf(text, sizeof text, "U+%04lX", u.code);
    return text;
}

}  // namespace

int RunConvert(const Arguments &args) {
    std::string from, to, path;
    bool dropUnheld = false, havePath = false;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string &a = args[i];
        if (a == "--from" || a == "--to") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return Fail(2, "convert: " + a + " needs the name of an encoding (" + kFormats +
                                   (a == "--to" ? ", ksclp)" : ")"));
            (a == "--from" ? from : to) = args[++i];
        } else if (a == "-c") {
            dropUnheld = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail(2, "convert: unknown option '" + a + "'");
        } else if (!havePath) {
            path = a;
            havePath = true;
        } else {
            return Fail(2, "convert: more than one file");
        }
    }
    if (from.empty()) return Fail(2, std::string("convert: --from is needed (") + kFormats + ")");
    if (to.empty()) return Fail(2, std::string("convert: --to is needed (") + kFormats + ", ksclp)");
    Encoding source, target;
    if (!ParseEncoding(from, source) || source == Encoding::kKsclp)
        return Fail(2, "convert: unknown source encoding '" + from + "' (" + kFormats + ")");
    if (!ParseEncoding(to, target))
        return Fail(2, "convert: unknown target encoding '" + to + "' (" + kFormats + ", ksclp)");

    LineReader reader(path);
    if (!reader.ok()) return Fail(1, "convert: cannot read " + path + ": " + reader.error());
    Conversion conversion(source, target);
    bool utf8 = source == Encoding::kUnicode;
    Line piece;
    std::string out, error;
    size_t column = 0;  // characters of the line before this piece
    long dropped = 0;
    while (reader.NextPiece(piece, kPieceSize, EndsPiece)) {
        std::string where = "line " + std::to_string(reader.number());
        std::string stop = column == 0 ? "; the output stops before this line"
                                       : "; the output stops at column " + std::to_string(column + 1) + " of this line";
        if (piece.text.find('\0') != std::string::npos) return Fail(1, "convert: " + where + ": a zero byte" + stop);
        if (utf8 && !IsValidUtf8(piece.text)) return Fail(1, "convert: " + where + ": invalid UTF-8" + stop);
        Unheld unheld;
        if (!conversion.Run(piece.text, dropUnheld, out, unheld, error))
            return Fail(1, "convert: " + where + ": " + error + stop);
        if (unheld.count && !dropUnheld)
            return Fail(1, "convert: " + where + ", column " + std::to_string(column + 1 + unheld.column) + ", " +
                               Character(unheld) + ": " + to + " cannot hold this character (-c leaves out what "
                               "cannot be held)" + stop);
        dropped += unheld.count;
        column = piece.last ? 0 : column + unheld.characters;
        // Glyph and ISCII codes with no meaning give nothing; Unicode text that gives nothing
        // held only joiners or what -c left out.
        if (out.empty() && !piece.text.empty() && !utf8 && target != Encoding::kKsclp) {
            if (!dropUnheld)
                return Fail(1, "convert: " + where + ": nothing of it can be written as " + to +
                                   " (-c leaves it out)" + stop);
            dropped++;
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fwrite(piece.end.data(), 1, piece.end.size(), stdout);
    }
    if (!reader.error().empty())
        return Fail(1, "convert: line " + std::to_string(reader.number() + 1) + ": cannot read: " + reader.error());
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return Fail(1, "convert: cannot write the output");
    if (dropped)
        std::fprintf(stderr, "tovi: convert: left out %ld syllable%s or character%s that %s cannot hold\n", dropped,
                     dropped == 1 ? "" : "s", dropped == 1 ? "" : "s", to.c_str());
    return 0;
}
