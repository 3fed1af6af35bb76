// Little-endian fields appended to a byte buffer, for the file writers of the
// sample art and the test builders.
#pragma once

#include <cstdint>
#include <vector>

namespace byteorder {

inline void AppendLe16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendLe32(std::vector<uint8_t>& out, uint32_t value) {
    AppendLe16(out, value & 0xFFFF);
    AppendLe16(out, value >> 16);
}

}  // namespace byteorder
