#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "command.h"

namespace kvcli {
namespace {

std::map<std::string, Command>& Registry() {
    static std::map<std::string, Command> commands;
    return commands;
}

int PrintUsage() {
    std::fprintf(stderr, "usage: kvavtr COMMAND [ARGS]\ncommands:\n");
    for (const auto& [name, command] : Registry()) {
        std::fprintf(stderr, "  kvavtr %s %s\n", name.c_str(), command.usage);
    }
    return kUsageError;
}

}  // namespace

bool RegisterCommand(const Command& command) {
    Registry().emplace(command.name, command);
    return true;
}

int UsageError(const char* name) {
    const auto it = Registry().find(name);
    std::fprintf(stderr, "usage: kvavtr %s %s\n", name,
                 it == Registry().end() ? "" : it->second.usage);
    return kUsageError;
}

}  // namespace kvcli

int main(int argc, char** argv) {
    if (argc < 2) {
        return kvcli::PrintUsage();
    }
    const auto it = kvcli::Registry().find(argv[1]);
    if (it == kvcli::Registry().end()) {
        std::fprintf(stderr, "kvavtr: unknown command '%s'\n", argv[1]);
        return kvcli::PrintUsage();
    }
    return it->second.run(kvcli::Args(argv + 2, argv + argc));
}
