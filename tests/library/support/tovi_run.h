// Runs the tovi tool as a program (TOVI names it): its arguments, what it reads on standard
// input, and what it printed and returned. Runs may be made from several threads at once.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ToviResult {
    int status;
    std::string out, err;
    long peakKilobytes;  // the most memory the run held at once
};

inline std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A scratch folder for the runs' input and output, removed with the runner.
class ToviRunner {
public:
    ToviRunner() {
        char pattern[] = "/tmp/tovi-run-XXXXXX";
        if (mkdtemp(pattern)) dir = pattern;
    }
    ~ToviRunner() { std::system(("rm -rf '" + dir + "'").c_str()); }

    ToviResult Run(const std::vector<std::string> &args, const std::string &input = "") {
        std::string base = dir + "/" + std::to_string(next++);
        WriteFile(base + ".in", input);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, (base + ".in").c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, (base + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&files, 2, (base + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<std::string> words{TOVI};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char *> argv;
        for (std::string &w : words) argv.push_back(&w[0]);
        argv.push_back(nullptr);
        pid_t pid;
        int raw = -1;
        rusage usage{};
        if (posix_spawn(&pid, TOVI, &files, nullptr, argv.data(), environ) == 0) wait4(pid, &raw, 0, &usage);
        posix_spawn_file_actions_destroy(&files);
        ToviResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(base + ".out"), ReadFile(base + ".err"),
                     usage.ru_maxrss};
        std::remove((base + ".in").c_str());
        std::remove((base + ".out").c_str());
        std::remove((base + ".err").c_str());
        return r;
    }

    std::string dir;

private:
    std::atomic<int> next{0};
};
