#include "picture_options.h"

#include <map>

#include "option_values.h"

namespace kvcli {
namespace {

const std::map<std::string, bool PictureOptions::*>& Flags() {
    static const std::map<std::string, bool PictureOptions::*> flags = {
        {"--half", &PictureOptions::half},
        {"--tall", &PictureOptions::tall},
        {"--selected", &PictureOptions::selected},
        {"--image", &PictureOptions::image},
        {"--female", &PictureOptions::female}};
    return flags;
}

bool SetValue(PictureOptions& options, const std::string& name, const std::string& value) {
    if (name == "--size") {
        return ParseInt(value, 0, 3, options.size);
    }
    if (name == "--canvas") {
        return ParseColour(value, options.canvas);
    }
    std::string& text = name == "--home" ? options.home : options.out;
    text = value;
    return !value.empty();
}

}  // namespace

bool ParsePictureOptions(const Args& args, const std::set<std::string>& allowed,
                         PictureOptions& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = arg.rfind("--", 0) == 0;
        if (option && allowed.count(arg) == 0) {
            error = "unknown option " + arg;
            return false;
        }
        if (const auto flag = Flags().find(arg); flag != Flags().end()) {
            options.*(flag->second) = true;
        } else if (option) {
            if (i + 1 == args.size() || !SetValue(options, arg, args[i + 1])) {
                error = "bad or missing value for " + arg;
                return false;
            }
            ++i;
        } else if (allowed.count("CODE") == 0 || !options.code.empty()) {
            error = "unexpected argument " + arg;
            return false;
        } else {
            options.code = arg;
        }
    }
    if (allowed.count("CODE") != 0 && options.code.empty()) {
        error = "missing CODE";
    } else if (options.out.empty()) {
        error = "missing --out OUT.png";
    }
    return error.empty();
}

}  // namespace kvcli
