// Sub-commands of the kvavtr program register themselves here, one file each.
#pragma once

#include <string>
#include <vector>

namespace kvcli {

using Args = std::vector<std::string>;

// Exit code 2 with the usage line on stderr.
constexpr int kUsageError = 2;

struct Command {
    const char* name;
    const char* usage;  // arguments after the name, for the usage message
    int (*run)(const Args& args);
};

// Static registrars call this before main runs.
bool RegisterCommand(const Command& command);

// Prints "usage: kvavtr NAME USAGE" to stderr and returns kUsageError.
int UsageError(const char* name);

}  // namespace kvcli
