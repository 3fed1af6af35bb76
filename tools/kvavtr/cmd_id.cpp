// kvavtr id [--com] ID: the identifier's parts, flags and strings as one JSON line.
#include <cstdio>
#include <string>

#include "avatar_id/avtr_id.h"
#include "command.h"
#include "json.h"

namespace {

constexpr const char* kName = "id";

std::string PartsArray(CAvtrId& id) {
    std::string out = "[";
    for (const std::string& part : id.IdVec()) {
        if (out.size() > 1) {
            out += ", ";
        }
        out += kvcli::JsonString(part);
    }
    return out + "]";
}

std::string ExpressionValue(CAvtrId& id) {
    const char code = id.GetExpressionCode();
    return code == 0 ? "null" : kvcli::JsonString(std::string(1, code));
}

std::string StringValue(CAvtrId& id) {
    std::string text;
    return id.ToString(text, false) ? kvcli::JsonString(text) : "null";
}

const char* Bool(bool value) {
    return value ? "true" : "false";
}

int Run(const kvcli::Args& args) {
    bool com = false;
    bool optionsEnded = false;
    const std::string* text = nullptr;
    for (const std::string& arg : args) {
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (isOption && arg == "--") {
            optionsEnded = true;
        } else if (isOption && arg == "--com") {
            com = true;
        } else if (isOption) {
            return kvcli::UsageError(kName);
        } else if (text == nullptr) {
            text = &arg;
        } else {
            return kvcli::UsageError(kName);
        }
    }
    if (text == nullptr) {
        return kvcli::UsageError(kName);
    }
    CAvtrId id;
    id.Set(*text, com);
    std::printf(
        "{\"parts\": %s, \"com\": %s, \"default\": %s, \"expression\": %s, \"string\": %s}\n",
        PartsArray(id).c_str(), Bool(id.IsComAvtr()), Bool(id.IsDefault()),
        ExpressionValue(id).c_str(), StringValue(id).c_str());
    return 0;
}

const bool registered = kvcli::RegisterCommand({kName, "[--com] ID", Run});

}  // namespace
