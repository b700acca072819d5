#include "tovi_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "kannada-tovi-composer.h"

#include <cstring>
#include <vector>

namespace ToviLibrary {
namespace {

using KsclpTwin = char *(*)(char *);
using NoArgs = int (*)();
using StartEngine = int (*)(int, int, int);
using Convert = int (*)(const char *, char *, unsigned int);
using CreateWindow = void *(*)(const char *);
using WindowOnly = void (*)(void *);
using GetFocus = void *(*)();
using KeyEvent = int (*)(unsigned int, int);
using TakeMessage = int (*)(void *, DesktopMessage *);
using KeyState = int (*)(unsigned int);
using SetToggle = void (*)(unsigned int, int);
using Unheld = int (*)(const char *, int, int *, int *, int);
using ComposerNew = ToviComposer *(*)(int, int);
using ComposerFree = void (*)(ToviComposer *);
using ComposerFeed = int (*)(ToviComposer *, int, ToviComposerResult *);
using ComposerReset = void (*)(ToviComposer *);

// The message layout of kannada-tovi-desktop.h, which DesktopMessage mirrors.
static_assert(sizeof(DesktopMessage) == sizeof(void *) * 4, "DesktopMessage must mirror ToviDesktopMessage");

// The library is looked for next to the program's lib folder first (build/bin -> build/lib),
// then beside the program, then by its soname wherever the system's loader finds it (an
// installed program: the runtime package has no unversioned link name).
QLibrary &library() {
    static QLibrary *lib = [] {
        auto *l = new QLibrary;
        QStringList candidates;
        if (QCoreApplication::instance()) {
            const QString dir = QCoreApplication::applicationDirPath();
            candidates << dir + QStringLiteral("/../lib/libKannada-Tovi.so")
                       << dir + QStringLiteral("/libKannada-Tovi.so");
        }
        for (const QString &path : candidates) {
            if (!QFileInfo::exists(path)) continue;
            l->setFileName(QFileInfo(path).canonicalFilePath());
            if (l->load()) return l;
        }
        l->setFileNameAndVersion(QStringLiteral("Kannada-Tovi"), 1);
        l->load();
        return l;
    }();
    return *lib;
}

template <typename F>
F resolve(const char *name) {
    QLibrary &lib = library();
    if (!lib.isLoaded()) return nullptr;
    return reinterpret_cast<F>(lib.resolve(name));
}

// Each export is looked up once, at its first call.
#define TOVI_EXPORT_FN(type, name)                             \
    type name##Fn() {                                          \
        static type fn = resolve<type>(#name);                 \
        return fn;                                             \
    }

TOVI_EXPORT_FN(KsclpTwin, ToviMonolingualGlyph2KSCLPVB)
TOVI_EXPORT_FN(NoArgs, ToviTurnOnScrollLockVB)
TOVI_EXPORT_FN(NoArgs, ToviTurnOffScrollLockVB)
TOVI_EXPORT_FN(StartEngine, ToviStartKeyboardEngine)
TOVI_EXPORT_FN(NoArgs, ToviStopKeyboardEngine)
TOVI_EXPORT_FN(NoArgs, ToviGetLastError)
TOVI_EXPORT_FN(Convert, ToviMonolingualGlyph2Unicode)
TOVI_EXPORT_FN(Convert, ToviUnicode2MonolingualGlyph)
TOVI_EXPORT_FN(Unheld, ToviUnicodeUnheld)
TOVI_EXPORT_FN(CreateWindow, ToviDesktopCreateWindow)
TOVI_EXPORT_FN(WindowOnly, ToviDesktopDestroyWindow)
TOVI_EXPORT_FN(WindowOnly, ToviDesktopSetFocus)
TOVI_EXPORT_FN(GetFocus, ToviDesktopGetFocus)
TOVI_EXPORT_FN(KeyEvent, ToviDesktopKeyEvent)
TOVI_EXPORT_FN(TakeMessage, ToviDesktopTakeMessage)
TOVI_EXPORT_FN(KeyState, ToviDesktopGetKeyState)
TOVI_EXPORT_FN(SetToggle, ToviDesktopSetToggle)
TOVI_EXPORT_FN(ComposerNew, ToviComposerNew)
TOVI_EXPORT_FN(ComposerFree, ToviComposerFree)
TOVI_EXPORT_FN(ComposerFeed, ToviComposerFeed)
TOVI_EXPORT_FN(ComposerReset, ToviComposerReset)

// Runs one of the bridge's converters: a size query, then the conversion into a buffer of
// that size with room to spare. Empty input converts to empty output without a call.
std::optional<QByteArray> runConverter(Convert fn, const QByteArray &src) {
    if (!fn) return std::nullopt;
    if (src.isEmpty()) return QByteArray();
    // A short text (a syllable, a name) converts straight into room on the stack.
    char room[1024];
    if (src.size() <= 24) {
        const int got = fn(src.constData(), room, sizeof room);
        if (got > 0) return QByteArray(room, static_cast<int>(strnlen(room, sizeof room)));
    }
    int need = fn(src.constData(), nullptr, static_cast<unsigned int>(src.size() * 8 + 16));
    if (need <= 0) return std::nullopt;
    std::vector<char> out(static_cast<size_t>(need) + 8, '\0');
    int got = fn(src.constData(), out.data(), static_cast<unsigned int>(out.size()));
    if (got <= 0) return std::nullopt;
    return QByteArray(out.data(), static_cast<int>(strnlen(out.data(), out.size())));
}

}  // namespace

bool isLoaded() { return library().isLoaded(); }
QString loadError() { return library().errorString(); }
bool has(const char *exportName) { return resolve<void *>(exportName) != nullptr; }

std::optional<QByteArray> monolingualGlyph2KSCLP(const QByteArray &glyphs) {
    KsclpTwin fn = ToviMonolingualGlyph2KSCLPVBFn();
    if (!fn) return std::nullopt;
    // The twin may rewrite its argument; it gets a private zero-terminated copy.
    QByteArray copy = glyphs;
    const char *key = fn(copy.data());
    return key ? QByteArray(key) : QByteArray();
}

bool turnOnScrollLock() {
    NoArgs fn = ToviTurnOnScrollLockVBFn();
    if (!fn) return false;
    fn();
    return true;
}

bool turnOffScrollLock() {
    NoArgs fn = ToviTurnOffScrollLockVBFn();
    if (!fn) return false;
    fn();
    return true;
}

bool startKeyboardEngine(int engineType, int fontType, int showTrayIcon) {
    StartEngine fn = ToviStartKeyboardEngineFn();
    return fn && fn(engineType, fontType, showTrayIcon) != 0;
}

bool stopKeyboardEngine() {
    NoArgs fn = ToviStopKeyboardEngineFn();
    return fn && fn() != 0;
}

int lastError() {
    NoArgs fn = ToviGetLastErrorFn();
    return fn ? fn() : 0;
}

bool hasUnicodeBridge() {
    return ToviMonolingualGlyph2UnicodeFn() && ToviUnicode2MonolingualGlyphFn();
}

std::optional<QString> glyphToUnicode(const QString &glyphs) {
    // A glyph string cannot carry the zero byte; it ends the text as it would in the library.
    std::optional<QByteArray> utf8 = runConverter(ToviMonolingualGlyph2UnicodeFn(), glyphs.toLatin1());
    if (!utf8) return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QString> unicodeToGlyph(const QString &text) {
    std::optional<QByteArray> glyphs = runConverter(ToviUnicode2MonolingualGlyphFn(), text.toUtf8());
    if (!glyphs) return std::nullopt;
    return QString::fromLatin1(*glyphs);
}

std::optional<QVector<char32_t>> unheldInGlyphs(const QString &text) {
    Unheld fn = ToviUnicodeUnheldFn();
    if (!fn) return std::nullopt;
    const QByteArray utf8 = text.toUtf8();
    constexpr int kMonolingualGlyphs = 1;
    const int count = fn(utf8.constData(), kMonolingualGlyphs, nullptr, nullptr, 0);
    if (count < 0) return std::nullopt;
    std::vector<int> codePoints(static_cast<size_t>(count) + 1);
    fn(utf8.constData(), kMonolingualGlyphs, nullptr, codePoints.data(), count);
    QVector<char32_t> out;
    for (int i = 0; i < count; ++i) out.append(static_cast<char32_t>(codePoints[static_cast<size_t>(i)]));
    return out;
}

bool hasComposer() {
    return ToviComposerNewFn() && ToviComposerFreeFn() && ToviComposerFeedFn() && ToviComposerResetFn();
}

void *composerNew(int output) {
    if (!hasComposer()) return nullptr;
    return ToviComposerNewFn()(output, 0);
}

void composerFree(void *composer) {
    if (ComposerFree fn = ToviComposerFreeFn()) fn(static_cast<ToviComposer *>(composer));
}

ComposerStep composerFeed(void *composer, int key) {
    ComposerStep step;
    ComposerFeed fn = ToviComposerFeedFn();
    if (!fn || !composer) return step;
    ToviComposerResult r{};
    step.used = fn(static_cast<ToviComposer *>(composer), key, &r) != 0;
    step.erase = r.erase;
    step.insert = QByteArray(r.insert, r.insertLength);
    step.preedit = r.preeditLength;
    return step;
}

void composerReset(void *composer) {
    if (ComposerReset fn = ToviComposerResetFn()) fn(static_cast<ToviComposer *>(composer));
}

bool hasDesktop() { return ToviDesktopKeyEventFn() && ToviDesktopTakeMessageFn(); }

void *desktopCreateWindow(const char *className) {
    CreateWindow fn = ToviDesktopCreateWindowFn();
    return fn ? fn(className) : nullptr;
}

void desktopDestroyWindow(void *window) {
    if (WindowOnly fn = ToviDesktopDestroyWindowFn()) fn(window);
}

void desktopSetFocus(void *window) {
    if (WindowOnly fn = ToviDesktopSetFocusFn()) fn(window);
}

void *desktopGetFocus() {
    GetFocus fn = ToviDesktopGetFocusFn();
    return fn ? fn() : nullptr;
}

int desktopKeyEvent(unsigned int virtualKey, bool keyUp) {
    KeyEvent fn = ToviDesktopKeyEventFn();
    return fn ? fn(virtualKey, keyUp ? 1 : 0) : -1;
}

bool desktopTakeMessage(void *window, DesktopMessage *out) {
    TakeMessage fn = ToviDesktopTakeMessageFn();
    return fn && fn(window, out) != 0;
}

int desktopKeyState(unsigned int virtualKey) {
    KeyState fn = ToviDesktopGetKeyStateFn();
    return fn ? fn(virtualKey) : 0;
}

void desktopSetToggle(unsigned int virtualKey, bool on) {
    if (SetToggle fn = ToviDesktopSetToggleFn()) fn(virtualKey, on ? 1 : 0);
}

}  // namespace ToviLibrary
