#include "legacy/legacy_code.h"

#include <cstdlib>
#include <cstring>

int LegacyCodeNumber(const char* code, int position, int length) {
    char field[8] = {};
    std::memcpy(field, code + position, static_cast<size_t>(length));
    return std::atoi(field);
}

int LegacyFrameCode(const char* code, int position) {
    const unsigned char first = static_cast<unsigned char>(code[position]);
    const unsigned char second = static_cast<unsigned char>(code[position + 1]);
    const auto digit = [](unsigned char c) { return c >= '0' && c <= '9'; };
    if (digit(first) && digit(second)) {
        return (first - '0') * 10 + (second - '0');
    }
    return 26 * first + second - 1213;
}
