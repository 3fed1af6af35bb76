#include "option_values.h"

#include <cerrno>
#include <cstdlib>

namespace kvcli {
namespace {

bool ParseLong(const std::string& text, int base, long long min, long long max, long long& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, base);
    return errno == 0 && *end == '\0' && value >= min && value <= max;
}

}  // namespace

bool ParseInt(const std::string& text, int min, int max, int& value) {
    long long parsed = 0;
    if (!ParseLong(text, 10, min, max, parsed)) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool ParseColour(const std::string& text, unsigned long& colour) {
    long long parsed = 0;
    if (!ParseLong(text, 0, 0, 0xFFFFFF, parsed)) {
        return false;
    }
    colour = static_cast<unsigned long>(parsed);
    return true;
}

}  // namespace kvcli
