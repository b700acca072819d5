// Kernel services of the virtual desktop: the thread's last-error code, thread identifiers,
// system error texts, modules loaded as data files, and process ending.
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "../../include/kannada-tovi-desktop.h"
#include "desktop.h"

namespace {

thread_local DWORD threadLastError = 0;

std::mutex failuresLock;
std::multiset<std::string> pendingFailures;

bool trapFatalExit = false;
int fatalExitCount = 0;

std::set<std::string> &PresentModules() {
    static std::set<std::string> modules;
    return modules;
}

struct SystemText {
    DWORD code;
    const char *text;
};

// The system's own message table, as far as this library can meet its codes.
const SystemText kSystemTexts[] = {
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.\r\n"},
    {ERROR_RESOURCE_DATA_NOT_FOUND, "The specified image file did not contain a resource section.\r\n"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "The specified resource type cannot be found in the image file.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, "The specified resource name cannot be found in the image file.\r\n"},
};

// The network message module's table.
const SystemText kNetworkTexts[] = {
    {2102, "The workstation driver is not installed.\r\n"},
    {2106, "This operation is supported only on the primary domain controller of the domain.\r\n"},
    {2114, "The Server service is not started.\r\n"},
    {2138, "The network is not present or not started.\r\n"},
};

struct ModuleRecord {
    std::string name;
};

}  // namespace

namespace desktop {

bool TakeInjectedFailure(const char *function) {
    std::lock_guard<std::mutex> guard(failuresLock);
    auto it = pendingFailures.find(function);
    if (it == pendingFailures.end()) return false;
    pendingFailures.erase(it);
    return true;
}

}  // namespace desktop

DWORD GetLastError() { return threadLastError; }
void SetLastError(DWORD code) { threadLastError = code; }

namespace {
// The thread's id, asked of the system once per thread (every key event asks for it); a child
// made by fork asks again.
thread_local DWORD cachedThreadId = 0;
void ForgetThreadId() { cachedThreadId = 0; }
}  // namespace

DWORD GetCurrentThreadId() {
    static const int registered = pthread_atfork(nullptr, nullptr, ForgetThreadId);
    (void)registered;
    if (!cachedThreadId) cachedThreadId = static_cast<DWORD>(syscall(SYS_gettid));
    return cachedThreadId;
}

HMODULE LoadLibraryExA(LPCSTR name, HANDLE, DWORD) {
    if (!name) return nullptr;
    std::string lower(name);
    for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!PresentModules().count(lower)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(new ModuleRecord{lower});
}

BOOL FreeLibrary(HMODULE module) {
    delete reinterpret_cast<ModuleRecord *>(module);
    return TRUE;
}

DWORD FormatMessageA(DWORD flags, const void *source, DWORD messageId, DWORD, LPSTR buffer,
                     DWORD size, va_list *) {
    const char *text = nullptr;
    if ((flags & FORMAT_MESSAGE_FROM_HMODULE) && source) {
        for (const auto &t : kNetworkTexts)
            if (t.code == messageId) text = t.text;
    }
    if (!text && (flags & FORMAT_MESSAGE_FROM_SYSTEM)) {
        for (const auto &t : kSystemTexts)
            if (t.code == messageId) text = t.text;
    }
    if (!text) {
        SetLastError(317);  // the message number was not found
        return 0;
    }
    DWORD length = static_cast<DWORD>(std::strlen(text));
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        char *copy = static_cast<char *>(std::malloc(length + 1));
        if (!copy) return 0;
        std::memcpy(copy, text, length + 1);
        *reinterpret_cast<char **>(buffer) = copy;
        return length;
    }
    if (!buffer || size <= length) return 0;
    std::memcpy(buffer, text, length + 1);
    return length;
}

HLOCAL LocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}

void DebugBreak() {}

void FatalExit(int code) {
    if (trapFatalExit) {
        fatalExitCount++;
        return;
    }
    _exit(code);
}

extern "C" {

void ToviDesktopFailNext(const char *function) {
    std::lock_guard<std::mutex> guard(failuresLock);
    if (function) pendingFailures.insert(function);
}

void ToviDesktopTrapFatalExit(int trap) { trapFatalExit = trap != 0; }
int ToviDesktopFatalExitCount(void) { return fatalExitCount; }

void ToviDesktopSetModulePresent(const char *name, int present) {
    if (!name) return;
    std::string lower(name);
    for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (present)
        PresentModules().insert(lower);
    else
        PresentModules().erase(lower);
}

}  // extern "C"
