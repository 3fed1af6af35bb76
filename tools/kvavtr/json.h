// JSON text for the command-line output.
#pragma once

#include <string>
#include <string_view>

namespace kvcli {

// `text` as a quoted JSON string. Quotes and backslashes are escaped, control
// characters become \u00XX, and so does every byte from 0x80: bytes are taken
// as code points of the same value, so any input gives valid (ASCII) JSON.
std::string JsonString(std::string_view text);

}  // namespace kvcli
