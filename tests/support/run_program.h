// Runs a program through the shell and collects its exit code and one output stream.
#pragma once

#include <string>
#include <vector>

namespace kvtest {

struct ProgramOutcome {
    int exitCode;  // -1 when the program did not exit normally
    std::string output;
};

// `output` is stdout, or stderr when `wantStderr`.
ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                          bool wantStderr = false);

}  // namespace kvtest
