#include "support/legacy_art.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "support/bmp_builder.h"

namespace kvtest {
namespace {

// Back-to-front rank of each table part, without its set letter.
const std::map<std::string, int> kRanks = {
    {"A4", 0},  {"RH", 1}, {"RHSA", 1}, {"RHAT", 1}, {"RA3", 2}, {"B", 3},   {"LC", 4},  {"HC", 5},
    {"CSA", 5}, {"F", 6},  {"FPW", 6},  {"FPY", 6},  {"FPB", 6}, {"FMW", 6}, {"FMY", 6}, {"FMB", 6},
    {"A3", 7},  {"FH", 8}, {"FHSA", 8}, {"FHAT", 8}, {"A2", 9},  {"A1", 10}, {"CSB", 0}};
const std::map<std::string, int> kHairRanks = {{"RHC", 1}, {"FHC", 8}};

std::vector<std::string>& SheetNames() {
    static std::vector<std::string> names;
    return names;
}

// A sub-sheet ("MA10001") or hair colour ("MRHC3") ranks with its table sheet; the
// fixed sheets cover every band.
int SheetRank(const std::string& sheet) {
    std::string part = sheet.substr(1);
    const bool subSheet =
        part.size() > 4 &&
        part.find_first_not_of("0123456789", part.size() - 4) == std::string::npos;
    part.resize(part.size() - (subSheet ? 4 : 0));
    if (const auto table = kRanks.find(part); table != kRanks.end()) {
        return table->second;
    }
    const auto hair = kHairRanks.find(part.substr(0, part.size() - 1));
    return hair != kHairRanks.end() ? hair->second : 0;
}

bool WriteSheet(const std::filesystem::path& path, const std::string& sheet, int tiles, int width,
                int height, int from, int bottom) {
    BmpBuilder bmp(width * tiles, height, 24);
    for (int tile = 0; tile < tiles; ++tile) {
        const uint32_t bgr = LegacyPixelColor(LegacyTilePixel(sheet, tile));
        const uint32_t rgb = (bgr & 0xFF) << 16 | (bgr & 0xFF00) | bgr >> 16;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool opaque = x >= from && y < height - bottom;
                bmp.Pixel(tile * width + x, y, opaque ? rgb : 0x0000FF);
            }
        }
    }
    return WriteBytes(path.string(), bmp.Bytes());
}

}  // namespace

uint16_t LegacyTilePixel(const std::string& sheet, int tile) {
    std::vector<std::string>& names = SheetNames();
    size_t index = 0;
    while (index < names.size() && names[index] != sheet) {
        ++index;
    }
    if (index == names.size()) {
        names.push_back(sheet);
    }
    return static_cast<uint16_t>(0x4000 | index << 3 | (tile & 7));
}

std::string LegacyPixelName(uint16_t pixel) {
    const size_t index = (pixel & 0x3FF8u) >> 3;
    if (pixel == 0x001F || (pixel & 0x4000) == 0 || index >= SheetNames().size()) {
        return pixel == 0x001F ? "transparent" : "?";
    }
    return SheetNames()[index] + ":" + std::to_string(pixel & 7);
}

uint32_t LegacyPixelColor(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return widen((pixel >> 10) & 31u) | widen((pixel >> 5) & 31u) << 8 | widen(pixel & 31u) << 16;
}

LegacyArt::LegacyArt(std::string folder) : m_folder(std::move(folder)) {
    for (const auto& [part, rank] : kRanks) {
        for (const char set : {'M', 'F'}) {
            m_sheets[set + part] = 4;
            m_settings[set + part]["N"] = "4";
        }
    }
    for (const char* table : {"MRHC", "FRHC", "MFHC", "FFHC"}) {
        m_settings[table]["N"] = "4";
        for (int color = 1; color <= 5; ++color) {
            m_sheets[table + std::to_string(color)] = 4;
        }
    }
    m_settings["MHCN"]["N"] = m_settings["FHCN"]["N"] = "5";
    m_sheets["zenhap1"] = 1;
    m_sheets["default"] = 2;
}

LegacyArt& LegacyArt::Set(const std::string& section, const std::string& key,
                          const std::string& value) {
    if (key.empty()) {
        m_settings.erase(section);
    } else if (value.empty()) {
        m_settings[section].erase(key);
    } else {
        m_settings[section][key] = value;
    }
    return *this;
}

LegacyArt& LegacyArt::Sheet(const std::string& name, int tiles) {
    m_sheets[name] = tiles;
    return *this;
}

bool LegacyArt::Write() const {
    const std::filesystem::path avatar = std::filesystem::path(m_folder) / "Avatar";
    const std::filesystem::path images = std::filesystem::path(m_folder) / "images";
    std::filesystem::create_directories(avatar);
    std::filesystem::create_directories(images);
    bool ok = true;
    for (const auto& [sheet, tiles] : m_sheets) {
        ok &= WriteSheet(avatar / (sheet + ".avt"), sheet, tiles, 46, 64,
                         kLegacyBand * SheetRank(sheet), 4);
    }
    for (const std::string picture : {"defaultMAvtr", "defaultWAvtr"}) {
        ok &= WriteSheet(images / (picture + ".qim"), picture, 1, 45, 102, 3, 5);
    }
    std::ofstream ini(avatar / "Avatar3.ini");
    for (const auto& [section, values] : m_settings) {
        ini << "[" << section << "]\n";
        for (const auto& [key, value] : values) {
            ini << key << "=" << value << "\n";
        }
    }
    return ok && static_cast<bool>(ini);
}

}  // namespace kvtest
