#include "avatar_id/avtr_layers.h"

#include <algorithm>
#include <map>

#include "avatar_id/ascii_case.h"

const char g_szAvtrLayerOrder[kAvtrLayerCount][3] = {
    "a4", "b1", "b2", "b3", "b4", "a3", "pn",  //
    "pa", "pb", "pc", "pd", "pe", "p1", "sa",  //
    "lc", "hc", "oc", "sa", "fn", "fa", "fb",  //
    "pn", "pa", "pb", "pc", "pd", "pe", "p1",  //
    "h1", "j1", "j2", "j3", "j4", "sa", "sb",  //
    "sc", "a3", "m1", "a2", "a1", "k1", "k2",  //
    "k3", "k4", "k5", "k6", "d1", "t1", "t2",
};

namespace avatar_id {
namespace {

struct KeptToken {
    std::string text;
    // Letter of the next copy of a multi-layer part, 0 for a single-layer part.
    // It starts at 'b' or 'c' and its code stands in the table two or three
    // times, so it never goes below 'a'.
    char layerLetter;
};

char FirstLayerLetter(std::string_view token) {
    if (token.starts_with('p') || token.starts_with("a3")) {
        return 'b';
    }
    if (token.starts_with("sa")) {
        return 'c';
    }
    return 0;
}

std::vector<std::string> SplitLowered(std::string_view id) {
    std::vector<std::string> tokens;
    size_t pos = 0;
    while (pos < id.size()) {
        const size_t start = id.find_first_not_of('_', pos);
        if (start == std::string_view::npos) {
            break;
        }
        const size_t end = std::min(id.find('_', start), id.size());
        std::string token(id.substr(start, end - start));
        LowerInPlace(token);
        tokens.push_back(std::move(token));
        pos = end;
    }
    return tokens;
}

std::string NextLayerCopy(KeptToken& kept) {
    std::string part = kept.text;
    if (kept.layerLetter == 0) {
        return part;
    }
    if (part.size() == 6) {
        part.push_back(kept.layerLetter);
    } else if (part.size() == 7) {
        part[6] = kept.layerLetter;
    }
    --kept.layerLetter;
    return part;
}

}  // namespace

std::vector<std::string> ArrangeLayeredParts(std::string_view id) {
    std::map<std::string, KeptToken, std::less<>> kept;
    for (std::string& token : SplitLowered(id)) {
        std::string code = token.substr(0, 2);
        if (!kept.contains(code)) {
            const char letter = FirstLayerLetter(token);
            kept.emplace(std::move(code), KeptToken{std::move(token), letter});
        }
    }
    std::vector<std::string> parts;
    for (const char* code : g_szAvtrLayerOrder) {
        const auto it = kept.find(std::string_view(code));
        if (it != kept.end()) {
            parts.push_back(NextLayerCopy(it->second));
        }
    }
    return parts;
}

}  // namespace avatar_id
