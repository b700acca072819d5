#include "shared_state.h"

#include "../platform/win32.h"

namespace {
constexpr SharedEngineState kInitialSharedState = {0, 1, 0, 0, 0, 0, 0};
}

#ifdef _WIN32

// A section marked shared: the loader maps one copy of it into every process.
SharedEngineState SharedEngineData __attribute__((section(".SHARDAT"), shared)) = kInitialSharedState;
SharedEngineState *Shared = &SharedEngineData;

void AttachSharedEngineState() {}
void DetachSharedEngineState() {}

#else

#include "../platform/virtual/desktop.h"

namespace {
SharedEngineState privateCopy = kInitialSharedState;
}
SharedEngineState *Shared = &privateCopy;

void AttachSharedEngineState() {
    void *section = desktop::OpenSharedSection("engine", sizeof(SharedEngineState), &kInitialSharedState);
    if (section) Shared = static_cast<SharedEngineState *>(section);
}

void DetachSharedEngineState() {
    if (Shared == &privateCopy) return;
    SharedEngineState *section = Shared;
    Shared = &privateCopy;
    desktop::CloseSharedSection(section);
}

#endif
