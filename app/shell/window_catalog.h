// Every window the program opens by name, and how each is made. The shell defines them once, at
// start-up; windows then ask for one another through WindowRegistry.
#pragma once

class QString;

namespace WindowCatalog {

// Defines every window with WindowRegistry (again is harmless).
void defineAll();
// Whether the window of that name stands on its own at the top left corner of the screen (the
// reference lists, the about window) rather than as a child of the main window.
bool standsAlone(const QString &name);

}  // namespace WindowCatalog
