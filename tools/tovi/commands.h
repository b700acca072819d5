// The subcommands of tovi. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 a failure of the work (unreadable file, bad input), 2 bad arguments.
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int RunType(const Arguments &args);
int RunConvert(const Arguments &args);
int RunSortKey(const Arguments &args);
int RunSort(const Arguments &args);

// Prints "tovi: message" on standard error and returns the status given.
int Fail(int status, const std::string &message);
