// Cross-process shared sections on POSIX shared memory.
//
// A section is a shm object holding a small header and the payload. The header lists the
// processes that have it open; it is changed only under an exclusive flock of the object, so two
// processes that open a fresh section at once still see one initialisation. A process that ended
// without closing (it crashed, or was killed) is dropped from the list at the next open, so a
// section whose users are all gone starts again from its initial contents, as a shared data
// section of a library does when the last process unloads it. The last process to close a
// section unlinks it.
#include "desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace desktop {
namespace {

constexpr int kMaxUsers = 250;

struct SectionHeader {
    uint32_t magic;
    uint32_t users;  // entries of `process` in use
    uint64_t size;
    int32_t process[kMaxUsers];
};
constexpr uint32_t kMagic = 0x4b54564cu;
constexpr size_t kHeader = (sizeof(SectionHeader) + 63) / 64 * 64;  // keeps the payload aligned

// Drops the processes that no longer run; true when some user is left.
bool PruneUsers(SectionHeader *h) {
    uint32_t kept = 0;
    for (uint32_t i = 0; i < h->users && i < static_cast<uint32_t>(kMaxUsers); i++)
        if (h->process[i] > 0 && (kill(h->process[i], 0) == 0 || errno == EPERM))
            h->process[kept++] = h->process[i];
    h->users = kept;
    return kept > 0;
}

void AddUser(SectionHeader *h) {
    if (h->users < static_cast<uint32_t>(kMaxUsers)) h->process[h->users++] = getpid();
}

void RemoveUser(SectionHeader *h) {
    for (uint32_t i = 0; i < h->users; i++)
        if (h->process[i] == getpid()) {
            h->process[i] = h->process[--h->users];
            return;
        }
}

struct Mapping {
    std::string name;
    void *base;
    size_t total;
};

// Never destroyed: the library's unload handler closes sections after static objects of a
// dlopen'ed library may already be gone.
std::mutex &Lock() {
    static std::mutex *m = new std::mutex;
    return *m;
}
std::map<void *, Mapping> &Mappings() {
    static auto *m = new std::map<void *, Mapping>;
    return *m;
}

}  // namespace

std::string Namespace() {
    const char *ns = std::getenv("TOVI_DESKTOP");
    std::string s = ns && *ns ? ns : "uid" + std::to_string(static_cast<unsigned>(getuid()));
    for (char &c : s)
        if (c == '/' || c == '\0') c = '_';
    return s;
}

void *OpenSharedSection(const char *tag, size_t size, const void *initial) {
    std::lock_guard<std::mutex> guard(Lock());
    std::string name = "/kannada-tovi." + Namespace() + "." + tag;
    size_t total = kHeader + size;
    int fd = shm_open(name.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0) return nullptr;
    flock(fd, LOCK_EX);
    struct stat st {};
    fstat(fd, &st);
    if (static_cast<size_t>(st.st_size) < total && ftruncate(fd, static_cast<off_t>(total)) != 0) {
        flock(fd, LOCK_UN);
        close(fd);
        return nullptr;
    }
    void *base = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (base == MAP_FAILED) {
        flock(fd, LOCK_UN);
        close(fd);
        return nullptr;
    }
    auto *header = static_cast<SectionHeader *>(base);
    char *payload = static_cast<char *>(base) + kHeader;
    if (header->magic != kMagic || header->size != size || !PruneUsers(header)) {
        header->magic = kMagic;
        header->size = size;
        header->users = 0;
        std::memcpy(payload, initial, size);
    }
    AddUser(header);
    flock(fd, LOCK_UN);
    close(fd);
    Mappings()[payload] = Mapping{name, base, total};
    return payload;
}

void CloseSharedSection(void *section) {
    std::lock_guard<std::mutex> guard(Lock());
    auto it = Mappings().find(section);
    if (it == Mappings().end()) return;
    Mapping m = it->second;
    Mappings().erase(it);
    int fd = shm_open(m.name.c_str(), O_RDWR, 0600);
    if (fd >= 0) flock(fd, LOCK_EX);
    auto *header = static_cast<SectionHeader *>(m.base);
    RemoveUser(header);
    bool last = !PruneUsers(header);
    if (last) shm_unlink(m.name.c_str());
    if (fd >= 0) {
        flock(fd, LOCK_UN);
        close(fd);
    }
    munmap(m.base, m.total);
}

}  // namespace desktop
