// The drawing order of part types and the arrangement of a layered id's parts in it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Two-letter type codes from back to front; codes of multi-layer parts repeat.
constexpr int kAvtrLayerCount = 49;
extern const char g_szAvtrLayerOrder[kAvtrLayerCount][3];

namespace avatar_id {

// Splits `id` at "_" (runs of separators count as one), lower-cases the tokens,
// keeps the first token of each type code and returns the kept tokens in layer
// order, repeating multi-layer parts with their layer letters.
std::vector<std::string> ArrangeLayeredParts(std::string_view id);

}  // namespace avatar_id
