// A second process for the shared-state tests. "read" prints the six shared values;
// "write F E" stores font type F and engine type E, says "ready" and keeps the state attached
// until its standard input closes.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/shared_state.h"

int main(int argc, char **argv) {
    AttachSharedEngineState();
    if (argc >= 2 && std::strcmp(argv[1], "read") == 0) {
        std::printf("%d %d %d %d %d %d\n", Shared->mutexHandle, Shared->fontType, Shared->engineType,
                    Shared->trayIconWanted, Shared->keyEngineSwitch, Shared->shiftFixPending);
    } else if (argc >= 4 && std::strcmp(argv[1], "write") == 0) {
        Shared->fontType = std::atoi(argv[2]);
        Shared->engineType = std::atoi(argv[3]);
        std::printf("ready\n");
        std::fflush(stdout);
        int c;
        while ((c = std::getchar()) != EOF) {
        }
    } else {
        return 2;
    }
    DetachSharedEngineState();
    return 0;
}
