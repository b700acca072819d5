// tovi type: types keys through the keyboard hook of the virtual desktop into a text box.
#include "commands.h"

int RunType(const Arguments &) { return Fail(1, "typing is not available in this build yet"); }
