#include "support/legacy_art.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "support/bmp_builder.h"

namespace kvtest {
namespace {

const char* const kTableSheets[] = {
    "MRH",   "MRHSA", "FRH",  "FRHSA", "MFH",  "MFHSA", "FFH",  "FFHSA", "MRHAT", "FRHAT",
    "MFHAT", "FFHAT", "MB",   "FB",    "MF",   "FF",    "MFPW", "MFPY",  "MFPB",  "FFPW",
    "FFPY",  "FFPB",  "MFMW", "MFMY",  "MFMB", "FFMW",  "FFMY", "FFMB",  "MHC",   "FHC",
    "MLC",   "FLC",   "MCSA", "FCSA",  "MCSB", "FCSB",  "MA1",  "MA2",   "MA3",   "MA4",
    "FA1",   "FA2",   "FA3",  "FA4",   "MRA3", "FRA3"};
const char* const kHairTables[] = {"MRHC", "FRHC", "MFHC", "FFHC"};
constexpr int kTableTiles = 4;
constexpr int kHairColors = 5;

// Sheet names in a fixed order: their index is their colour.
std::vector<std::string>& KnownSheets() {
    static std::vector<std::string> names = [] {
        std::vector<std::string> all(std::begin(kTableSheets), std::end(kTableSheets));
        for (const char* table : kHairTables) {
            for (int color = 1; color <= 7; ++color) {
                all.push_back(table + std::to_string(color));
            }
        }
        for (const char* fixed : {"zenhap1", "default", "defaultMAvtr", "defaultWAvtr"}) {
            all.emplace_back(fixed);
        }
        return all;
    }();
    return names;
}

int SheetIndex(const std::string& sheet) {
    std::vector<std::string>& names = KnownSheets();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == sheet) {
            return static_cast<int>(i);
        }
    }
    names.push_back(sheet);  // sub-sheets join as the tests name them
    return static_cast<int>(names.size() - 1);
}

// The place of a sheet's part in the back-to-front order of a composition.
int SheetRank(std::string sheet) {
    if (sheet.size() > 4 && std::isdigit(static_cast<unsigned char>(sheet.back())) &&
        sheet.compare(sheet.size() - 4, 2, "00") == 0) {
        sheet.resize(sheet.size() - 4);  // a sub-sheet ranks with its main sheet
    }
    const std::string part = sheet.substr(1);
    static const std::map<std::string, int> ranks = {
        {"A4", 0},   {"RH", 1},   {"RHSA", 1}, {"RHAT", 1}, {"RA3", 2}, {"B", 3},
        {"LC", 4},   {"HC", 5},   {"CSA", 5},  {"F", 6},    {"A3", 7},  {"FH", 8},
        {"FHSA", 8}, {"FHAT", 8}, {"A2", 9},   {"A1", 10}};
    for (const auto& [prefix, rank] : ranks) {
        if (part == prefix) {
            return rank;
        }
    }
    if (part.rfind("RHC", 0) == 0)
        return 1;
    if (part.rfind("FHC", 0) == 0)
        return 8;
    if (part.rfind("FP", 0) == 0 || part.rfind("FM", 0) == 0)
        return 6;
    return 0;
}

uint32_t Rgb24(uint16_t pixel) {
    return (((pixel >> 10) & 31u) << 19) | (((pixel >> 5) & 31u) << 11) | ((pixel & 31u) << 3);
}

// Columns before `from` and the `bottom` last rows are pure blue.
bool WriteSheet(const std::string& path, const std::string& sheet, int tiles, int width, int height,
                int from, int bottom) {
    BmpBuilder bmp(width * tiles, height, 24);
    for (int tile = 0; tile < tiles; ++tile) {
        const uint32_t colour = Rgb24(LegacyTilePixel(sheet, tile));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool opaque = x >= from && y < height - bottom;
                bmp.Pixel(tile * width + x, y, opaque ? colour : 0x0000FF);
            }
        }
    }
    return WriteBytes(path, bmp.Bytes());
}

}  // namespace

uint16_t LegacyTilePixel(const std::string& sheet, int tile) {
    return static_cast<uint16_t>(0x4000 | (SheetIndex(sheet) << 3) | (tile & 7));
}

std::string LegacyPixelName(uint16_t pixel) {
    if (pixel == 0x001F) {
        return "transparent";
    }
    const size_t index = (pixel & 0x3FF8u) >> 3;
    if ((pixel & 0x4000) == 0 || index >= KnownSheets().size()) {
        return "?";
    }
    return KnownSheets()[index] + ":" + std::to_string(pixel & 7);
}

uint32_t LegacyPixelColor(uint16_t pixel) {
    const auto widen = [](unsigned v) { return (v << 3) | (v >> 2); };
    return widen((pixel >> 10) & 31u) | (widen((pixel >> 5) & 31u) << 8) |
           (widen(pixel & 31u) << 16);
}

LegacyArt::LegacyArt(std::string folder) : m_folder(std::move(folder)) {
    for (const char* sheet : kTableSheets) {
        m_settings[sheet]["N"] = std::to_string(kTableTiles);
    }
    for (const char* table : kHairTables) {
        m_settings[table]["N"] = std::to_string(kTableTiles);
    }
    m_settings["MHCN"]["N"] = std::to_string(kHairColors);
    m_settings["FHCN"]["N"] = std::to_string(kHairColors);
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

LegacyArt& LegacyArt::SubSheet(const std::string& sheet, int number, int tiles) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "%04d", number);
    m_extraSheets[sheet + suffix] = tiles;
    return *this;
}

LegacyArt& LegacyArt::HairColor(const std::string& table, int color) {
    m_extraSheets[table + std::to_string(color)] = kTableTiles;
    return *this;
}

bool LegacyArt::Write() const {
    namespace fs = std::filesystem;
    const fs::path avatar = fs::path(m_folder) / "Avatar";
    const fs::path images = fs::path(m_folder) / "images";
    fs::create_directories(avatar);
    fs::create_directories(images);
    std::map<std::string, int> sheets(m_extraSheets);
    for (const char* sheet : kTableSheets) {
        sheets[sheet] = kTableTiles;
    }
    for (const char* table : kHairTables) {
        for (int color = 1; color <= kHairColors; ++color) {
            sheets[table + std::to_string(color)] = kTableTiles;
        }
    }
    sheets["zenhap1"] = 1;
    sheets["default"] = 2;
    bool ok = true;
    for (const auto& [sheet, tiles] : sheets) {
        ok = WriteSheet((avatar / (sheet + ".avt")).string(), sheet, tiles, kLegacyTileWidth,
                        kLegacyTileHeight, kLegacyBand * SheetRank(sheet), 4) &&
             ok;
    }
    for (const char* picture : {"defaultMAvtr", "defaultWAvtr"}) {
        ok = WriteSheet((images / (std::string(picture) + ".qim")).string(), picture, 1,
                        kQuestionWidth, kQuestionHeight, 3, 5) &&
             ok;
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
