// A private IBus daemon for a test: started with the build's component folder on the D-Bus
// session the test runs in (dbus-run-session), in a scratch home of its own, with no panel, no
// emoji extension, no configuration service and no X input method, so nothing of the user's
// is read or touched; stopped (with the engines it started) when the test ends.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

class IbusDaemon {
public:
    // Starts the daemon; the address is ready for clients once Connected().
    IbusDaemon() {
        char pattern[] = "/tmp/tovi-ibus-XXXXXX";
        if (!mkdtemp(pattern)) return;
        home = pattern;
        address = "unix:path=" + home + "/bus";
        for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            setenv(name, home.c_str(), 1);
        setenv("IBUS_COMPONENT_PATH", IBUS_COMPONENT_DIR, 1);
        setenv("IBUS_ADDRESS_FILE", (home + "/address").c_str(), 1);
        setenv("IBUS_ADDRESS", address.c_str(), 1);
        setenv("GSETTINGS_BACKEND", "memory", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::vector<std::string> words{IBUS_DAEMON,     "--panel=disable", "--emoji-extension=disable",
                                       "--config=disable", "--cache=none",  "--replace",
                                       "--address=" + address};
        std::vector<char *> argv;
        for (std::string &w : words) argv.push_back(&w[0]);
        argv.push_back(nullptr);
        if (posix_spawn(&pid, IBUS_DAEMON, nullptr, nullptr, argv.data(), environ) != 0) pid = 0;
    }
    ~IbusDaemon() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        if (!home.empty()) std::system(("rm -rf '" + home + "'").c_str());
    }
    IbusDaemon(const IbusDaemon &) = delete;
    IbusDaemon &operator=(const IbusDaemon &) = delete;

    pid_t pid = 0;
    std::string home, address;
};
