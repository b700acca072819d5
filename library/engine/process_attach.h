// What every process that loads the library does first, and what it undoes at unload.
#pragma once

void ProcessAttach();
void ProcessDetach();
