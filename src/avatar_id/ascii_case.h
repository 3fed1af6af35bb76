// Byte-wise ASCII case mapping for identifiers and codes. The cast keeps bytes
// above 0x7F away from the negative-argument trap of <cctype>.
#pragma once

#include <cctype>
#include <string>

namespace avatar_id {

inline char ToLowerAscii(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

inline char ToUpperAscii(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

inline void LowerInPlace(std::string& text) {
    for (char& c : text) {
        c = ToLowerAscii(c);
    }
}

inline void UpperInPlace(std::string& text) {
    for (char& c : text) {
        c = ToUpperAscii(c);
    }
}

}  // namespace avatar_id
