// tovi type: types keys through the keyboard hook of the virtual desktop into a text box that
// has the focus, with Scroll Lock on, and prints what the box then holds.
//
//   tovi type [--bilingual] [--key-engine] [--codes | --unicode] [--desktop NAME] KEYS
//
// The engine is started for this thread exactly as a host starts it (ToviStartKeyboardEngine),
// so every key runs the hook chain of the desktop and the library's hook procedure. Each run
// types on a desktop made for it alone, so runs at the same moment, and programs typing on the
// user's desktop, never see each other's engine or switches; --desktop joins a named one.
#include <dirent.h>
#include <errno.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"
#include "encodings.h"
#include "kannada-tovi-desktop.h"
#include "kannada-tovi.h"
#include "kannada-tovi-us-keyboard.h"

namespace {

constexpr unsigned kShift = 0x10;
constexpr unsigned kWmChar = 0x0102;

using Key = ToviUsKeyboard::Key;
using ToviUsKeyboard::KeyOf;

// Reads KEYS character by character; {BS}, {ENTER} and {TAB} name those keys.
bool ParseKeys(const std::string &text, std::vector<Key> &keys, std::string &error) {
    static const struct {
        const char *name;
        unsigned vk;
    } named[] = {{"{BS}", 0x08}, {"{ENTER}", 0x0D}, {"{TAB}", 0x09}};
    for (size_t i = 0; i < text.size();) {
        bool matched = false;
        for (const auto &n : named) {
            size_t len = std::strlen(n.name);
            if (text.compare(i, len, n.name) == 0) {
                keys.push_back({n.vk, false});
                i += len;
                matched = true;
                break;
            }
        }
        if (matched) continue;
        Key key;
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (!KeyOf(c, key)) {
            char code[8];
            std::snprintf(code, sizeof code, "%u", c);
            error = std::string("KEYS holds a character that is no key (code ") + code +
                    "); use letters, digits, punctuation, spaces and {BS}, {ENTER}, {TAB}";
            return false;
        }
        keys.push_back(key);
        i++;
    }
    return true;
}

void Press(const Key &key) {
    if (key.shift) ToviDesktopKeyEvent(kShift, 0);
    ToviDesktopKeyEvent(key.vk, 0);
    ToviDesktopKeyEvent(key.vk, 1);
    if (key.shift) ToviDesktopKeyEvent(kShift, 1);
}

// The box behaves like a Windows edit control: a character message appends its byte,
// character 8 removes the last one; key messages are not text.
void Drain(void *box, std::string &text) {
    ToviDesktopMessage m;
    while (ToviDesktopTakeMessage(box, &m)) {
        if (m.message != kWmChar) continue;
        if (m.wParam == 8) {
            if (!text.empty()) text.pop_back();
        } else {
            text.push_back(static_cast<char>(m.wParam & 0xFF));
        }
    }
}

// The library takes its desktop from TOVI_DESKTOP when it loads, so a run that is not on the
// desktop it wants yet starts the tool again with the variable set. A desktop of the run's
// own is named after the process, which keeps its number through the new start.
const char kDesktopVariable[] = "TOVI_DESKTOP";

std::string OwnDesktopPrefix() { return "tovi-type-" + std::to_string(getpid()) + "-"; }

bool OnDesktop(const std::string &wanted) {
    const char *current = std::getenv(kDesktopVariable);
    if (!current) return false;
    if (!wanted.empty()) return wanted == current;
    return std::strncmp(current, OwnDesktopPrefix().c_str(), OwnDesktopPrefix().size()) == 0;
}

// Starts this program again on the desktop wanted (empty: a new one of its own); returns only
// when that fails.
int StartAgainOn(const std::string &wanted, const Arguments &args) {
    std::string name = wanted;
    if (name.empty()) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        name = OwnDesktopPrefix() + std::to_string(now.tv_sec) + std::to_string(now.tv_nsec);
    }
    setenv(kDesktopVariable, name.c_str(), 1);
    std::vector<std::string> words{"tovi", "type"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &w : words) argv.push_back(&w[0]);
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    return Fail(1, std::string("type: cannot start again on a desktop of its own: ") + std::strerror(errno));
}

// A desktop of the run's own leaves the files of its named mutexes behind; nobody else can
// use them, so they go with the run.
void RemoveOwnDesktop() {
    std::string prefix = std::string("kannada-tovi.") + std::getenv(kDesktopVariable) + ".";
    if (DIR *dir = opendir("/dev/shm")) {
        while (dirent *entry = readdir(dir))
            if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) == 0)
                unlink((std::string("/dev/shm/") + entry->d_name).c_str());
        closedir(dir);
    }
}

}  // namespace

int RunType(const Arguments &args) {
    bool bilingual = false, keyEngine = false, codes = false, unicode = false;
    bool haveKeys = false, optionsEnded = false, sharedDesktop = false;
    std::string keysText, desktop;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string &a = args[i];
        if (!optionsEnded && a == "--desktop") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return Fail(2, "type: --desktop needs the NAME of a desktop");
            desktop = args[++i];
            sharedDesktop = true;
            continue;
        }
        if (!optionsEnded && a.size() > 2 && a.compare(0, 2, "--") == 0) {
            if (a == "--bilingual") bilingual = true;
            else if (a == "--key-engine") keyEngine = true;
            else if (a == "--codes") codes = true;
            else if (a == "--unicode") unicode = true;
            else return Fail(2, "type: unknown option '" + a + "'");
            continue;
        }
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
            continue;
        }
        if (haveKeys) return Fail(2, "type: one KEYS argument only (quote keys that hold spaces)");
        keysText = a;
        haveKeys = true;
    }
    if (!haveKeys)
        return Fail(2, "type: missing KEYS (tovi type [--bilingual] [--key-engine] [--codes | --unicode] "
                       "[--desktop NAME] KEYS)");
    if (codes && unicode) return Fail(2, "type: --codes and --unicode exclude each other");
    // The switch cannot be undone, and every program of a desktop types by it.
    if (keyEngine && sharedDesktop)
        return Fail(2, "type: --key-engine would change typing on desktop '" + desktop +
                           "' for good; it runs only on a desktop of its own (leave out --desktop)");
    std::vector<Key> keys;
    std::string error;
    if (!ParseKeys(keysText, keys, error)) return Fail(2, "type: " + error);
    if (!OnDesktop(desktop)) return StartAgainOn(desktop, args);

    if (!ToviStartKeyboardEngine(0, bilingual ? 0 : 1, 0)) {
        int code = ToviGetLastError();
        if (code == -1) return Fail(1, "type: the keyboard engine already runs on desktop '" + desktop + "'");
        return Fail(1, "type: the keyboard engine did not start (error " + std::to_string(code) + ")");
    }
    // Only once this run's engine started: a failed start must change nothing.
    if (keyEngine) ToviSetKeyEngine();
    void *box = ToviDesktopCreateWindow("EDIT");
    ToviDesktopSetFocus(box);
    ToviTurnOnScrollLock();
    for (const Key &k : keys) Press(k);
    std::string text;
    Drain(box, text);
    ToviTurnOffScrollLock();
    ToviStopKeyboardEngine();
    ToviDesktopDestroyWindow(box);
    if (!sharedDesktop) RemoveOwnDesktop();

    if (unicode) {
        // The box's glyph codes as the Kannada text they show.
        std::string utf8, error;
        Conversion toUnicode(bilingual ? Encoding::kBilingual : Encoding::kMono, Encoding::kUnicode);
        if (!toUnicode.Run(text, utf8, error)) return Fail(1, "type: " + error);
        std::printf("%s\n", utf8.c_str());
    } else if (codes) {
        std::string line;
        for (unsigned char c : text) {
            if (!line.empty()) line += ' ';
            line += std::to_string(c);
        }
        std::printf("%s\n", line.c_str());
    } else {
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
