// No heap allocation on the keystroke path: a burst of typed text runs through the virtual
// desktop's key events into the library's hook procedure while every allocation of the process
// is counted.
//
// The count is armed while the library's hook procedure runs, and paused while the virtual
// desktop queues a posted message (the link wraps PostMessageA): that queue stands for the
// platform's message queue, which on Windows is not in the process's heap at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "../support/keys.h"
#include "../support/text_box.h"
#include "compose/composer.h"
#include "engine/hook_state.h"
#include "engine/keyboard_hook.h"
#include "base/shared_state.h"
#include "kannada-tovi.h"

namespace {
bool armed = false;
long allocations = 0;
long wrappedPosts = 0;
}  // namespace

// ---- Every allocation of the process goes through these ------------------------------------

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);

void *malloc(size_t n) {
    if (armed) allocations++;
    return __libc_malloc(n);
}
void *calloc(size_t n, size_t size) {
    if (armed) allocations++;
    return __libc_calloc(n, size);
}
void *realloc(void *p, size_t n) {
    if (armed) allocations++;
    return __libc_realloc(p, n);
}
}

void *operator new(size_t n) {
    if (armed) allocations++;
    void *p = __libc_malloc(n ? n : 1);
    if (!p) throw std::bad_alloc();
    return p;
}
void *operator new[](size_t n) { return operator new(n); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, size_t) noexcept { std::free(p); }
void operator delete[](void *p, size_t) noexcept { std::free(p); }

// ---- The platform's message queue is left out ---------------------------------------------

// BOOL PostMessageA(HWND, UINT, WPARAM, LPARAM) of the virtual desktop, by its linker name.
extern "C" BOOL __real__Z12PostMessageAP6HWND__jml(HWND, UINT, WPARAM, LPARAM);
extern "C" BOOL __wrap__Z12PostMessageAP6HWND__jml(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    bool was = armed;
    armed = false;
    BOOL r = __real__Z12PostMessageAP6HWND__jml(w, m, wp, lp);
    armed = was;
    if (was) wrappedPosts++;
    return r;
}

namespace {

LRESULT CountingHook(int code, WPARAM vk, LPARAM data) {
    armed = true;
    LRESULT r = ToviKBDProc(code, vk, data);
    armed = false;
    return r;
}

TEST(KeystrokeAllocationTest, ABurstOfKeysAllocatesNothing) {
    SharedEngineState saved = *Shared;
    Composer = NewComposerState();
    ResetKeyboardOutput();
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, CountingHook, LibraryModule, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    EngineHook = hook;
    ToviTurnOnScrollLock();
    TextBox box;

    // Every kind of key event: vowels, consonants, conjunct chains, the extension key, capitals
    // with Shift, Backspace, Space, Enter, Tab, digits; in both font types.
    const std::string text =
        "namaskara kannadadalli barediruva pada kfkfy jXfk rXi kfxO PXi LXf "
        "kSEtra prapanca sanskrta\b\b vidyArthi RX kRX\tOdu\r123 ";
    allocations = 0;
    wrappedPosts = 0;
    for (int round = 0; round < 40; round++) {
        Shared->fontType = round % 2;
        TypeKeys(text);
        box.Codes();  // the box's own reading, outside the hook
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(wrappedPosts, 1000);  // the engine did post, through the wrapped call

    UnhookWindowsHookEx(hook);
    EngineHook = nullptr;
    ToviTurnOffScrollLock();
    *Shared = saved;
}

}  // namespace
