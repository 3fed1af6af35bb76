#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdio>

namespace kvtest {
namespace {

std::string ShellQuoted(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) {
        if (c == '\'') {
            quoted.append("'\\''");
        } else {
            quoted.push_back(c);
        }
    }
    quoted.push_back('\'');
    return quoted;
}

}  // namespace

ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                          bool wantStderr) {
    std::string command = ShellQuoted(program);
    for (const std::string& arg : args) {
        command.push_back(' ');
        command.append(ShellQuoted(arg));
    }
    command += wantStderr ? " 2>&1 >/dev/null" : " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {-1, ""};
    }
    std::string output;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), pipe)) > 0) {
        output.append(chunk, got);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

}  // namespace kvtest
