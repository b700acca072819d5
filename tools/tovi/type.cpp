// tovi type: types keys through the keyboard hook of the virtual desktop into a text box that
// has the focus, with Scroll Lock on, and prints what the box then holds.
//
//   tovi type [--bilingual] [--key-engine] [--codes | --unicode] KEYS
//
// The engine is started for this thread exactly as a host starts it (ToviStartKeyboardEngine),
// so every key runs the hook chain of the desktop and the library's hook procedure.
#include <cstdio>
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

}  // namespace

int RunType(const Arguments &args) {
    bool bilingual = false, keyEngine = false, codes = false, unicode = false;
    bool haveKeys = false, optionsEnded = false;
    std::string keysText;
    for (const std::string &a : args) {
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
        return Fail(2, "type: missing KEYS (tovi type [--bilingual] [--key-engine] [--codes | --unicode] KEYS)");
    if (codes && unicode) return Fail(2, "type: --codes and --unicode exclude each other");
    std::vector<Key> keys;
    std::string error;
    if (!ParseKeys(keysText, keys, error)) return Fail(2, "type: " + error);

    if (keyEngine) ToviSetKeyEngine();
    if (!ToviStartKeyboardEngine(0, bilingual ? 0 : 1, 0)) {
        int code = ToviGetLastError();
        if (code == -1)
            return Fail(1, "type: the keyboard engine already runs on this desktop "
                           "(TOVI_DESKTOP names a desktop of your own)");
        return Fail(1, "type: the keyboard engine did not start (error " + std::to_string(code) + ")");
    }
    void *box = ToviDesktopCreateWindow("EDIT");
    ToviDesktopSetFocus(box);
    ToviTurnOnScrollLock();
    for (const Key &k : keys) Press(k);
    std::string text;
    Drain(box, text);
    ToviTurnOffScrollLock();
    ToviStopKeyboardEngine();
    ToviDesktopDestroyWindow(box);

    if (unicode) {
        // The box's glyph codes as the Kannada text they show.
        std::string utf8, error;
        if (!ConvertLine(text, bilingual ? Encoding::kBilingual : Encoding::kMono, Encoding::kUnicode, utf8, error))
            return Fail(1, "type: " + error);
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
