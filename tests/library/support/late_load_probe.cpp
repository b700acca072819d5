// Loads the library after start-up, as a program binding it by name does, calls into it and
// exits: the unload at exit must not fault.
#include <dlfcn.h>

#include <cstdio>

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    void *library = dlopen(argv[1], RTLD_NOW);
    if (!library) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    auto lastError = reinterpret_cast<int (*)(void)>(dlsym(library, "ToviGetLastError"));
    return lastError && lastError() == 0 ? 0 : 1;
}
