#pragma once

#include <string>
#include <vector>

// What a finished child process left behind.
struct ProcessResult {
    int exitCode = -1;  // −1 when it did not exit normally (killed by a signal)
    std::string out;
    std::string err;
};

// Runs `program` with `args` (argv[0] is the program path), feeds `input` to
// its standard input and collects its standard output and error until it ends.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {});
