// Legacy art for tests: every sheet of the legacy tables, the two fixed sheets, the
// two question-mark pictures and the settings file, written as bitmap files in
// which every tile of every sheet has a colour of its own. A tile paints the
// columns from 4 x rank onwards, where rank is the sheet's place in the back-to-
// front order, so a composed picture shows in each 4-column band which layer and
// frame was drawn last there. The 4 bottom rows stay transparent.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace kvtest {

constexpr int kLegacyTileWidth = 46;
constexpr int kLegacyTileHeight = 64;
constexpr int kLegacyBand = 4;
constexpr int kLegacyBands = 11;
// Both question-mark pictures are this size; their first 3 columns and last 5 rows
// are transparent, so halving them meets blocks of 0 to 4 opaque pixels.
constexpr int kQuestionWidth = 45;
constexpr int kQuestionHeight = 102;

// The 16-bit pixel of one tile of a sheet ("MRH", "MRHC2", "MA10001", "default",
// "defaultMAvtr"...); never pure blue.
uint16_t LegacyTilePixel(const std::string& sheet, int tile);
// "MRH:1" for a pixel of LegacyTilePixel, "transparent" for pure blue, "?" else.
std::string LegacyPixelName(uint16_t pixel);
// The colour value a device context shows for a 16-bit pixel.
uint32_t LegacyPixelColor(uint16_t pixel);

class LegacyArt {
public:
    // Sheets go to folder\Avatar, pictures to folder\images. Every table sheet has
    // 4 tiles; 5 hair colours each; the settings say so unless changed by Set.
    explicit LegacyArt(std::string folder);

    // A settings value; an empty value removes the key, an empty key the section.
    LegacyArt& Set(const std::string& section, const std::string& key, const std::string& value);
    // A sub-sheet file "<sheet><number as 4 digits>.avt" with its own colours.
    LegacyArt& SubSheet(const std::string& sheet, int number, int tiles);
    // A hair-colour sheet beyond the five, e.g. ("MRHC", 6).
    LegacyArt& HairColor(const std::string& table, int color);

    // Writes all files. False when one cannot be written.
    bool Write() const;

private:
    std::string m_folder;
    std::map<std::string, std::map<std::string, std::string>> m_settings;
    std::map<std::string, int> m_extraSheets;
};

}  // namespace kvtest
