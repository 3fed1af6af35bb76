// Values of the sub-commands' options.
#pragma once

#include <string>

namespace kvcli {

// A whole decimal number within [min, max].
bool ParseInt(const std::string& text, int min, int max, int& value);

// 0xBBGGRR, as Windows colour values are written.
bool ParseColour(const std::string& text, unsigned long& colour);

}  // namespace kvcli
