#include "parts/part_id_check.h"

namespace {

// Player names use '-' and '.'; '.' is further restricted by IsSafePartId.
bool IsIdCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

}  // namespace

bool IsSafePartId(const std::string& id) {
    if (id.empty() || id.size() > kMaxPartIdLength || id.front() == '.' ||
        id.find("..") != std::string::npos) {
        return false;
    }
    for (char c : id) {
        if (!IsIdCharacter(c)) {
            return false;
        }
    }
    return true;
}
