// tovi: types keys through the keyboard engine and converts Kannada text between encodings.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct Command {
    const char *name;
    int (*run)(const Arguments &);
    const char *usage;
};

const Command kCommands[] = {
    {"type", RunType, "tovi type [--bilingual] [--key-engine] [--codes | --unicode] [--desktop NAME] KEYS"},
    {"convert", RunConvert, "tovi convert --from mono|bilingual|iscii|unicode --to mono|bilingual|iscii|unicode|ksclp [FILE]"},
    {"sortkey", RunSortKey, "tovi sortkey [--bilingual] [FILE]"},
    {"sort", RunSort, "tovi sort [--bilingual] [--unicode] [FILE]"},
};

int Usage() {
    std::fprintf(stderr, "usage:\n");
    for (const Command &c : kCommands) std::fprintf(stderr, "  %s\n", c.usage);
    std::fprintf(stderr, "  tovi --version\n");
    return 2;
}

}  // namespace

int Fail(int status, const std::string &message) {
    std::fprintf(stderr, "tovi: %s\n", message.c_str());
    return status;
}

int main(int argc, char **argv) {
    if (argc < 2) return Usage();
    for (const Command &c : kCommands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(Arguments(argv + 2, argv + argc));
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("tovi %s\n", TOVI_VERSION);
        return 0;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        Usage();
        return 0;
    }
    return Fail(2, std::string("unknown command '") + argv[1] + "' (try tovi --help)");
}
