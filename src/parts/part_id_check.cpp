#include "parts/part_id_check.h"

namespace {

bool IsIdCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool IsSafePartId(const std::string& id) {
    if (id.empty() || id.size() > kMaxPartIdLength) {
        return false;
    }
    for (char c : id) {
        if (!IsIdCharacter(c)) {
            return false;
        }
    }
    return true;
}
