// The shared engine state: one copy for every process of a desktop, and the per-process
// last-error value.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/shared_state.h"
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

TEST(SharedState, ProcessThatLoadsFirstSeesTheInitialContents) {
    setenv("TOVI_DESKTOP", ("initial-" + std::to_string(getpid())).c_str(), 1);
    EXPECT_EQ(RunProbe("read"), "0 1 0 0 0 0\n");
}

TEST(SharedState, AValueStoredByOneProcessIsReadByAnother) {
    setenv("TOVI_DESKTOP", ("pair-" + std::to_string(getpid())).c_str(), 1);
    // The writer keeps the state attached until its input closes.
    int toWriter[2], fromWriter[2];
    ASSERT_EQ(pipe(toWriter), 0);
    ASSERT_EQ(pipe(fromWriter), 0);
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        dup2(toWriter[0], 0);
        dup2(fromWriter[1], 1);
        close(toWriter[1]);
        close(fromWriter[0]);
        execl(PROBE, PROBE, "write", "0", "7", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(toWriter[0]);
    close(fromWriter[1]);
    char ready[16] = {};
    ASSERT_GT(read(fromWriter[0], ready, sizeof ready - 1), 0);
    EXPECT_STREQ(ready, "ready\n");

    EXPECT_EQ(RunProbe("read"), "0 0 7 0 0 0\n");

    close(toWriter[1]);
    int status = 0;
    waitpid(writer, &status, 0);
    close(fromWriter[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // With the last process gone, the next one starts from the initial contents again.
    EXPECT_EQ(RunProbe("read"), "0 1 0 0 0 0\n");
}

TEST(SharedState, AProcessThatDiesWithoutClosingLeavesNothingBehind) {
    setenv("TOVI_DESKTOP", ("killed-" + std::to_string(getpid())).c_str(), 1);
    int toWriter[2], fromWriter[2];
    ASSERT_EQ(pipe(toWriter), 0);
    ASSERT_EQ(pipe(fromWriter), 0);
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        dup2(toWriter[0], 0);
        dup2(fromWriter[1], 1);
        close(toWriter[1]);
        close(fromWriter[0]);
        execl(PROBE, PROBE, "write", "0", "7", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(toWriter[0]);
    close(fromWriter[1]);
    char ready[16] = {};
    ASSERT_GT(read(fromWriter[0], ready, sizeof ready - 1), 0);
    // Killed while attached: it never gets to close the section.
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    close(toWriter[1]);
    close(fromWriter[0]);
    EXPECT_EQ(RunProbe("read"), "0 1 0 0 0 0\n");
}

TEST(SharedState, LastErrorIsKeptUntilTheNextFailure) {
    LibraryLastError = 0;
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("", nullptr, 10), 0u);
    EXPECT_EQ(ToviGetLastError(), -4);
    char out[8];
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("AB", out, sizeof out), 2u);
    EXPECT_EQ(ToviGetLastError(), -4);
    EXPECT_EQ(ToviMonolingual2BilingualGlyph("AB", out, 2), 0u);
    EXPECT_EQ(ToviGetLastError(), -3);
}

}  // namespace
