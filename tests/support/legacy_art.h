// Legacy art for tests: all sheets, the fixed sheets, the question-mark pictures and
// Avatar3.ini, each tile in a colour of its own. A tile paints the columns from 4 x
// rank on (rank: the sheet's place in the back-to-front order), so each 4-column
// band of a composition names the layer drawn last there. The last 4 rows (5 on the
// 45 x 102 question marks, whose first 3 columns are also clear) are pure blue.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace kvtest {

constexpr int kLegacyBand = 4;

// The 16-bit pixel of a sheet's tile ("MRHC2", "MA10001", "default"...), never blue.
uint16_t LegacyTilePixel(const std::string& sheet, int tile);
// "MRH:1" for a LegacyTilePixel, "transparent" for pure blue, "?" otherwise.
std::string LegacyPixelName(uint16_t pixel);
// The COLORREF a DC shows for a 16-bit pixel.
uint32_t LegacyPixelColor(uint16_t pixel);

class LegacyArt {
public:
    // Table sheets have 4 tiles, hair tables 5 colours, and the settings say so.
    explicit LegacyArt(std::string folder);
    // An empty value removes the key, an empty key the section.
    LegacyArt& Set(const std::string& section, const std::string& key, const std::string& value);
    // One more sheet file, e.g. a sub-sheet "MA10001" or a hair colour "MRHC6".
    LegacyArt& Sheet(const std::string& name, int tiles);
    bool Write() const;

private:
    std::string m_folder;
    std::map<std::string, std::map<std::string, std::string>> m_settings;
    std::map<std::string, int> m_sheets;
};

}  // namespace kvtest
