#include "platform/kernel/ini_file.h"

#include <fstream>

#include "platform/kernel/path_translation.h"

namespace kvplatform {
namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

bool ReadIniFile(const std::string& posixPath, IniFile& file) {
    std::ifstream stream(posixPath, std::ios::binary);
    if (!stream) {
        return false;
    }
    file.clear();
    std::string rawLine;
    while (std::getline(stream, rawLine)) {
        const std::string_view line = Trim(rawLine);
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            const size_t close = line.find(']');
            const size_t end = close == std::string_view::npos ? line.size() : close;
            file.push_back({std::string(Trim(line.substr(1, end - 1))), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos && !file.empty()) {
            file.back().values.emplace_back(std::string(Trim(line.substr(0, equals))),
                                            std::string(Trim(line.substr(equals + 1))));
        }
    }
    return true;
}

const IniSection* FindIniSection(const IniFile& file, std::string_view name) {
    for (const IniSection& section : file) {
        if (EqualsIgnoreCase(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

const std::string* FindIniValue(const IniSection& section, std::string_view name) {
    for (const auto& [valueName, value] : section.values) {
        if (EqualsIgnoreCase(valueName, name)) {
            return &value;
        }
    }
    return nullptr;
}

}  // namespace kvplatform
