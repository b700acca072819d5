// The library's own resources on the virtual desktop: FindResourceA, LoadResource,
// LockResource and SizeofResource over the set compiled in, which a host may change.
#include "resources.h"

#include <strings.h>

#include <list>
#include <mutex>
#include <string>

#include "../../include/kannada-tovi-desktop.h"
#include "desktop.h"

namespace {

struct Resource {
    std::string type;
    std::string name;
    std::string data;  // the bytes and a zero byte after them
    bool present;
};

std::recursive_mutex lock;

// A list keeps the addresses of entries stable, so a handle stays valid while it is used.
std::list<Resource> &Table() {
    static std::list<Resource> table = [] {
        std::list<Resource> t;
        for (size_t i = 0; i < kEmbeddedResourceCount; i++) {
            const EmbeddedResource &r = kEmbeddedResources[i];
            std::string bytes(reinterpret_cast<const char *>(r.data), r.size);
            bytes.push_back('\0');
            t.push_back(Resource{r.type, r.name, bytes, true});
        }
        return t;
    }();
    return table;
}

std::string ResourceName(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(static_cast<unsigned>(LOWORD(name)));
    return name;
}

Resource *Find(const std::string &type, const std::string &name) {
    for (Resource &r : Table())
        if (strcasecmp(r.type.c_str(), type.c_str()) == 0 &&
            strcasecmp(r.name.c_str(), name.c_str()) == 0)
            return &r;
    return nullptr;
}

}  // namespace

HRSRC FindResourceA(HMODULE, LPCSTR name, LPCSTR type) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Resource *r = Find(ResourceName(type), ResourceName(name));
    if (!r || !r->present) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(r);
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource || desktop::TakeInjectedFailure("LoadResource")) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return const_cast<char *>(reinterpret_cast<Resource *>(resource)->data.data());
}

void *LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    if (!resource) return 0;
    return static_cast<DWORD>(reinterpret_cast<Resource *>(resource)->data.size() - 1);
}

extern "C" {

int ToviDesktopSetResource(const char *type, const char *name, const void *data,
                           unsigned long size) {
    if (!type || !name) return 0;
    std::lock_guard<std::recursive_mutex> guard(lock);
    Resource *r = Find(type, name);
    if (!r) {
        Table().push_back(Resource{type, name, std::string(), false});
        r = &Table().back();
    }
    r->present = data != nullptr;
    r->data.assign(data ? static_cast<const char *>(data) : "", data ? size : 0);
    r->data.push_back('\0');
    return 1;
}

void ToviDesktopRestoreResources(void) {
    std::lock_guard<std::recursive_mutex> guard(lock);
    std::list<Resource> &t = Table();
    for (Resource &r : t) r.present = false;
    for (size_t i = 0; i < kEmbeddedResourceCount; i++) {
        const EmbeddedResource &e = kEmbeddedResources[i];
        ToviDesktopSetResource(e.type, e.name, e.data, e.size);
    }
}

}  // extern "C"
