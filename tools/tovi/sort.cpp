// tovi sortkey and tovi sort: the KSCLP sort keys of lines, and lines in Kannada order.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "commands.h"
#include "encodings.h"
#include "kannada-tovi-sort-key-text.h"
#include "lines.h"

namespace {

struct Options {
    bool bilingual = false;
    bool unicode = false;
    std::string path;
};

int ParseOptions(const char *command, const Arguments &args, bool allowUnicode, Options &options) {
    for (const std::string &a : args) {
        if (a == "--bilingual") {
            options.bilingual = true;
        } else if (a == "--unicode" && allowUnicode) {
            options.unicode = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return Fail(2, std::string(command) + ": unknown option '" + a + "'");
        } else if (options.path.empty()) {
            options.path = a;
        } else {
            return Fail(2, std::string(command) + ": more than one file");
        }
    }
    return 0;
}

// The key of a line; Unicode lines are keyed by their glyph form in the chosen encoding.
class Keys {
public:
    explicit Keys(const Options &o)
        : unicode_(o.unicode), glyphs_(o.bilingual ? Encoding::kBilingual : Encoding::kMono),
          toGlyphs_(Encoding::kUnicode, glyphs_), toKey_(glyphs_, Encoding::kKsclp) {}

    bool Of(std::string text, std::string &key, std::string &error) {
        if (text.find('\0') != std::string::npos) {
            error = "a zero byte in the text";
            return false;
        }
        if (!unicode_) return toKey_.Run(text, key, error);
        if (!IsValidUtf8(text)) {
            error = "invalid UTF-8";
            return false;
        }
        return toGlyphs_.Run(text, glyphText_, error) && toKey_.Run(glyphText_, key, error);
    }

private:
    bool unicode_;
    Encoding glyphs_;
    Conversion toGlyphs_, toKey_;
    std::string glyphText_;
};

}  // namespace

int RunSortKey(const Arguments &args) {
    Options o;
    if (int status = ParseOptions("sortkey", args, false, o)) return status;
    LineReader reader(o.path);
    if (!reader.ok()) return Fail(1, "sortkey: cannot read " + o.path + ": " + reader.error());
    Keys keys(o);
    Line line;
    std::string key, error;
    while (reader.Next(line)) {
        if (!keys.Of(line.text, key, error))
            return Fail(1, "sortkey: line " + std::to_string(reader.number()) + ": " + error +
                               "; the output stops before this line");
        std::string hex = ToviSortKeyText::Hex(key);
        std::fwrite(hex.data(), 1, hex.size(), stdout);
        std::fwrite(line.end.data(), 1, line.end.size(), stdout);
    }
    if (!reader.error().empty())
        return Fail(1, "sortkey: line " + std::to_string(reader.number() + 1) + ": cannot read: " + reader.error());
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return Fail(1, "sortkey: cannot write the output");
    return 0;
}

int RunSort(const Arguments &args) {
    Options o;
    if (int status = ParseOptions("sort", args, true, o)) return status;
    LineReader reader(o.path);
    if (!reader.ok()) return Fail(1, "sort: cannot read " + o.path + ": " + reader.error());
    struct Entry {
        std::string key;
        Line line;
    };
    std::vector<Entry> entries;
    Keys keys(o);
    Line line;
    std::string error;
    while (reader.Next(line)) {
        Entry e;
        if (!keys.Of(line.text, e.key, error))
            return Fail(1, "sort: line " + std::to_string(reader.number()) + ": " + error + "; nothing was written");
        e.line = line;
        entries.push_back(std::move(e));
    }
    if (!reader.error().empty())
        return Fail(1, "sort: line " + std::to_string(reader.number() + 1) + ": cannot read: " + reader.error() +
                           "; nothing was written");
    // Unsigned byte order of the keys; equal keys keep their input order.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.key < b.key; });
    for (const Entry &e : entries) {
        std::fwrite(e.line.text.data(), 1, e.line.text.size(), stdout);
        const std::string &end = e.line.end.empty() ? std::string("\n") : e.line.end;
        std::fwrite(end.data(), 1, end.size(), stdout);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return Fail(1, "sort: cannot write the output");
    return 0;
}
