// kvavtr convert CODE: a legacy avatar code as a layered identifier.
#include <cstdio>

#include "avatar_id/avtr_id_conv.h"
#include "command.h"

namespace {

constexpr const char* kName = "convert";

int Run(const kvcli::Args& args) {
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
        return kvcli::UsageError(kName);
    }
    CAvtrIdConv conv;
    conv.SetOrgAvtrId(args[0].c_str());
    conv.Conv();
    std::printf("%s\n", conv.GetAvtrId().c_str());
    return 0;
}

const bool registered = kvcli::RegisterCommand({kName, "CODE", Run});

}  // namespace
