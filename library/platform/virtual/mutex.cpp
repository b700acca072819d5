// Named mutexes that every process of the desktop sees.
//
// A named mutex is a file under /dev/shm; each handle is an open descriptor holding a shared
// flock on it. Whoever can take the flock exclusively is the only holder, so the name did not
// exist yet; otherwise the platform's "already exists" (183) is reported with a handle all the
// same. A process that ends drops its locks, exactly as its handles would close.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "desktop.h"

namespace {

std::string MutexPath(LPCSTR name) {
    std::string safe;
    for (const char *p = name; *p; p++) {
        unsigned char c = static_cast<unsigned char>(*p);
        safe += std::isalnum(c) || c == '.' || c == '-' ? static_cast<char>(c) : '_';
    }
    return "/dev/shm/kannada-tovi." + desktop::Namespace() + ".mutex." + safe;
}

// Handles of mutexes are tagged so that CloseHandle can tell them from other handles.
constexpr uintptr_t kMutexTag = 0x4d000000u;

}  // namespace

HANDLE CreateMutexA(void *, BOOL, LPCSTR name) {
    if (desktop::TakeInjectedFailure("CreateMutexA")) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (!name) {
        SetLastError(ERROR_SUCCESS);
        return reinterpret_cast<HANDLE>(kMutexTag);
    }
    int fd = open(MutexPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    bool alone = flock(fd, LOCK_EX | LOCK_NB) == 0;
    flock(fd, LOCK_SH);  // converts the exclusive lock, or joins the other holders
    SetLastError(alone ? ERROR_SUCCESS : ERROR_ALREADY_EXISTS);
    return reinterpret_cast<HANDLE>(kMutexTag | static_cast<uintptr_t>(fd));
}

BOOL ReleaseMutex(HANDLE mutex) { return mutex != nullptr; }

BOOL CloseHandle(HANDLE handle) {
    uintptr_t h = reinterpret_cast<uintptr_t>(handle);
    if ((h & 0xff000000u) != kMutexTag) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    int fd = static_cast<int>(h & 0x00ffffffu);
    if (fd > 0) close(fd);
    return TRUE;
}
