// Another host of the same desktop, as another copy of the program that runs the keyboard engine
// for its own thread: starts the engine, says so, and holds it until its input closes.
#include <cstdio>

#include "kannada-tovi.h"

int main() {
    const int started = ToviStartKeyboardEngine(0, 1, 0);
    std::printf("started %d\n", started);
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    if (started) ToviStopKeyboardEngine();
    return started ? 0 : 1;
}
