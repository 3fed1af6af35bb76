// The text format of settings files and of the registry file: "[section]"
// lines, then "name=value" lines; names match without regard to case, blanks
// around names and values do not count, and lines starting with ';' are notes.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvplatform {

struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
};

using IniFile = std::vector<IniSection>;

// False when the file cannot be read.
bool ReadIniFile(const std::string& posixPath, IniFile& file);

// The first section or value of that name, as Windows reads them; null if none.
const IniSection* FindIniSection(const IniFile& file, std::string_view name);
const std::string* FindIniValue(const IniSection& section, std::string_view name);

}  // namespace kvplatform
