// tovi convert: Kannada text from one encoding to another, line by line, line ends kept.
#include <cstdio>

#include "commands.h"
#include "encodings.h"
#include "lines.h"

int RunConvert(const Arguments &args) {
    std::string from, to, path;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string &a = args[i];
        if ((a == "--from" || a == "--to") && i + 1 < args.size()) {
            (a == "--from" ? from : to) = args[++i];
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return Fail(2, "convert: unknown option '" + a + "'");
        } else if (path.empty()) {
            path = a;
        } else {
            return Fail(2, "convert: more than one file");
        }
    }
    if (from.empty() || to.empty()) return Fail(2, "convert: --from and --to are both needed");
    Encoding source, target;
    if (!ParseEncoding(from, source) || source == Encoding::kKsclp)
        return Fail(1, "convert: unknown source format '" + from + "' (mono, bilingual, iscii, unicode)");
    if (!ParseEncoding(to, target))
        return Fail(1, "convert: unknown target format '" + to + "' (mono, bilingual, iscii, unicode, ksclp)");

    LineReader reader(path);
    if (!reader.ok()) return Fail(1, "convert: cannot read " + path + ": " + reader.error());
    Line line;
    std::string out, error;
    while (reader.Next(line)) {
        if (!ConvertLine(line.text, source, target, out, error))
            return Fail(1, "convert: line " + std::to_string(reader.number()) + ": " + error +
                               "; the output stops before this line");
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fwrite(line.end.data(), 1, line.end.size(), stdout);
    }
    if (!reader.error().empty())
        return Fail(1, "convert: line " + std::to_string(reader.number() + 1) + ": cannot read: " + reader.error());
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return Fail(1, "convert: cannot write the output");
    return 0;
}
