#pragma once
// Runs a program with given arguments, environment and standard input, and
// collects what it printed; for testing executables from the outside.

#include <string>
#include <vector>

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ProgramRun RunProgram(const std::string& path, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment, const std::string& input);
// A file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);
