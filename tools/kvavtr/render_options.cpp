#include "render_options.h"

#include "option_values.h"

#include <functional>
#include <map>

namespace kvcli {
namespace {

bool ParseRect(const std::string& text, RECT& rect) {
    int values[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? text.find(',', start) : text.size();
        if (comma == std::string::npos ||
            !ParseInt(text.substr(start, comma - start), -32768, 32767, values[i])) {
            return false;
        }
        start = comma + 1;
    }
    rect = {values[0], values[1], values[2], values[3]};
    return true;
}

using Setter = std::function<bool(RenderOptions&, const std::string&)>;

// Options that take a value, with how each is stored.
const std::map<std::string, Setter>& ValueOptions() {
    static const std::map<std::string, Setter> options = {
        {"--rect",
         [](RenderOptions& o, const std::string& v) {
             RECT r;
             if (!ParseRect(v, r)) {
                 return false;
             }
             o.rect = r;
             return true;
         }},
        {"--bg",
         [](RenderOptions& o, const std::string& v) { return ParseColour(v, o.background); }},
        {"--canvas",
         [](RenderOptions& o, const std::string& v) { return ParseColour(v, o.canvas); }},
        {"--bkgnd",
         [](RenderOptions& o, const std::string& v) { return o.backgroundImage = v, !v.empty(); }},
        {"--sex",
         [](RenderOptions& o, const std::string& v) {
             o.sex = v.empty() ? 0 : v[0];
             return v == "F" || v == "M";
         }},
        {"--home", [](RenderOptions& o, const std::string& v) { return o.home = v, !v.empty(); }},
        {"--server",
         [](RenderOptions& o, const std::string& v) { return o.server = v, !v.empty(); }},
        {"--wait",
         [](RenderOptions& o, const std::string& v) { return ParseInt(v, 0, 3600000, o.waitMs); }},
        {"--out", [](RenderOptions& o, const std::string& v) { return o.out = v, !v.empty(); }},
        {"--frames",
         [](RenderOptions& o, const std::string& v) { return ParseInt(v, 1, 10000, o.frames); }},
        {"--interval", [](RenderOptions& o,
                          const std::string& v) { return ParseInt(v, 0, 3600000, o.intervalMs); }},
    };
    return options;
}

const std::map<std::string, bool RenderOptions::*>& Flags() {
    static const std::map<std::string, bool RenderOptions::*> flags = {
        {"--com", &RenderOptions::com},           {"--block", &RenderOptions::block},
        {"--small", &RenderOptions::small},       {"--full-height", &RenderOptions::fullHeight},
        {"--trans", &RenderOptions::transparent},
    };
    return flags;
}

}  // namespace

bool ParseRenderOptions(const Args& args, RenderOptions& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = Flags().find(arg); flag != Flags().end()) {
            options.*(flag->second) = true;
        } else if (arg == "--no-box") {
            options.box = false;
        } else if (const auto value = ValueOptions().find(arg); value != ValueOptions().end()) {
            if (i + 1 == args.size() || !value->second(options, args[i + 1])) {
                error = "bad or missing value for " + arg;
                return false;
            }
            ++i;
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
            return false;
        } else if (options.id.empty()) {
            options.id = arg;
        } else {
            error = "more than one ID";
            return false;
        }
    }
    if (options.id.empty()) {
        error = "missing ID";
    } else if (options.out.empty()) {
        error = "missing --out OUT.png";
    }
    return error.empty();
}

}  // namespace kvcli
