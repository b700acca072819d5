// The shared engine state: one copy for every process of a desktop; and the last-error value,
// one per thread.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "base/shared_state.h"
#include "kannada-tovi.h"

namespace {

std::string RunProbe(const std::string &args) {
    std::string command = std::string(PROBE) + " " + args;
    FILE *p = popen(command.c_str(), "r");
    if (!p) return "";
    char line[128] = {};
    std::string out = std::fgets(line, sizeof line, p) ? line : "";
    pclose(p);
    return out;
}

// A writer process that stores font type 0 and engine type 7 and stays attached until its
// input closes (or it is killed).
struct Writer {
    pid_t pid = -1;
    int input = -1;   // closing it lets the writer end
    int output = -1;  // where it says "ready"

    bool Start() {
        int toWriter[2], fromWriter[2];
        if (pipe(toWriter) != 0 || pipe(fromWriter) != 0) return false;
        pid = fork();
        if (pid < 0) return false;
        if (pid == 0) {
            dup2(toWriter[0], 0);
            dup2(fromWriter[1], 1);
            close(toWriter[1]);
            close(fromWriter[0]);
            execl(PROBE, PROBE, "write", "0", "7", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(toWriter[0]);
        close(fromWriter[1]);
        input = toWriter[1];
        output = fromWriter[0];
        char ready[16] = {};
        return read(output, ready, sizeof ready - 1) > 0 && std::string(ready) == "ready\n";
    }

    // Closes its input and waits for it; true when it ended well.
    bool Finish() {
        close(input);
        int status = 0;
        waitpid(pid, &status, 0);
        close(output);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    void Kill() {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        close(input);
        close(output);
    }
};

TEST(SharedState, AValueStoredByOneProcessIsReadByAnother) {
    setenv("TOVI_DESKTOP", ("pair-" + std::to_string(getpid())).c_str(), 1);
    Writer writer;
    ASSERT_TRUE(writer.Start());
    EXPECT_EQ(RunProbe("read"), "0 0 7 0 0 0\n");
    EXPECT_TRUE(writer.Finish());
    // With the last process gone, the next one starts from the initial contents again.
    EXPECT_EQ(RunProbe("read"), "0 1 0 0 0 0\n");
}

TEST(SharedState, AProcessThatDiesWithoutClosingLeavesNothingBehind) {
    setenv("TOVI_DESKTOP", ("killed-" + std::to_string(getpid())).c_str(), 1);
    Writer writer;
    ASSERT_TRUE(writer.Start());
    // Killed while attached: it never gets to close the section.
    writer.Kill();
    EXPECT_EQ(RunProbe("read"), "0 1 0 0 0 0\n");
}

TEST(SharedState, TheLastErrorIsEachThreadsOwn) {
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("", nullptr, 10), 0u);
    std::thread other([] {
        EXPECT_EQ(ToviGetLastError(), 0);
        EXPECT_EQ(ToviMonolingual2BilingualGlyph("AB", nullptr, 0), 0u);
        EXPECT_EQ(ToviGetLastError(), -3);
    });
    other.join();
    EXPECT_EQ(ToviGetLastError(), -4);
}

}  // namespace
