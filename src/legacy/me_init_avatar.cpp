// MeInitAvatar: every legacy sheet, read once per process.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/veltrun_directory.h"
#include "imaging/pixel.h"
#include "legacy/legacy_tables.h"

CAvatarLayer g_AvtrLayers[kLegacyRows][kLegacyColumns];
CAvatarLayer g_HairColorLayers[kHairColorTables][kHairColors];
CAvatarLayer g_SpecialLayer;
CAvatarLayer g_DefaultLayer;
int g_bMeInitTried = 0;
int g_bMeInitDone = 0;
int g_bExternalAvatarThreadOn = 0;

namespace {

constexpr int kPathBytes = 260;
// Sub-sheet numbers above this have no file name, so more are never read.
constexpr int kMaxSubSheets = 999;

// Rows 2 and 3 hold only the hat sheets; their first columns name hair-colour tables.
const char* const kLayerNames[kLegacyRows][kLegacyColumns] = {
    {"MRH", nullptr, nullptr, "MRHSA", "FRH", nullptr, nullptr, "FRHSA"},
    {"MFH", nullptr, nullptr, "MFHSA", "FFH", nullptr, nullptr, "FFHSA"},
    {nullptr, "MRHAT", nullptr, nullptr, nullptr, "FRHAT", nullptr, nullptr},
    {nullptr, "MFHAT", nullptr, nullptr, nullptr, "FFHAT", nullptr, nullptr},
    {"MB", nullptr, nullptr, nullptr, "FB", nullptr, nullptr, nullptr},
    {"MF", nullptr, nullptr, nullptr, "FF", nullptr, nullptr, nullptr},
    {"MFPW", "MFPY", "MFPB", nullptr, "FFPW", "FFPY", "FFPB", nullptr},
    {"MFMW", "MFMY", "MFMB", nullptr, "FFMW", "FFMY", "FFMB", nullptr},
    {"MHC", nullptr, nullptr, nullptr, "FHC", nullptr, nullptr, nullptr},
    {"MLC", nullptr, nullptr, nullptr, "FLC", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, "MCSA", nullptr, nullptr, nullptr, "FCSA"},
    {nullptr, nullptr, nullptr, "MCSB", nullptr, nullptr, nullptr, "FCSB"},
    {"MA1", "MA2", "MA3", "MA4", "FA1", "FA2", "FA3", "FA4"},
    {nullptr, nullptr, "MRA3", nullptr, nullptr, nullptr, "FRA3", nullptr},
};

const char* const kHairTableNames[kHairColorTables] = {"MRHC", "FRHC", "MFHC", "FFHC"};

// False when the path does not fit, so no cut path is ever opened.
template <typename... Args>
bool FormatPath(char* out, const char* format, Args... args) {
    const int length = std::snprintf(out, kPathBytes, format, args...);
    return length >= 0 && length < kPathBytes;
}

bool LoadMainSheet(CAvatarLayer& layer, const char* path, int tiles) {
    if (!FormatPath(layer.m_szPath, "%s", path) ||
        !layer.m_Sheet.m_Image.Create(path, kvpixel::kKeyColor)) {
        return false;
    }
    layer.m_Sheet.m_Image.SetTileNum(tiles);
    return true;
}

class SheetLoader {
public:
    explicit SheetLoader(const char* home) : m_home(home) {
        m_valid = FormatPath(m_settings, "%s\\Avatar\\Avatar3.ini", home);
    }

    // False for a home whose settings path does not fit.
    bool Valid() const { return m_valid; }

    int ReadInt(const char* section, const char* key) const {
        return static_cast<int>(GetPrivateProfileIntA(section, key, 0, m_settings));
    }

    // A hair-colour count of the settings, kept inside the tables.
    int HairColors(const char* section) const {
        return std::clamp(ReadInt(section, "N"), 0, kHairColors);
    }

    bool LoadNamed(CAvatarLayer& layer, const char* name) const {
        char path[kPathBytes];
        return FormatPath(path, "%s\\Avatar\\%s.avt", m_home, name) && Load(layer, name, path);
    }

    bool LoadHairColors(HairColorTable table, int colors) const {
        const char* name = kHairTableNames[table];
        for (int color = 1; color <= colors; ++color) {
            char path[kPathBytes];
            if (!FormatPath(path, "%s\\Avatar\\%s%d.avt", m_home, name, color) ||
                !Load(g_HairColorLayers[table][color - 1], name, path)) {
                return false;
            }
        }
        return true;
    }

    // The main sheet must load; sub-sheets that do not are simply left out.
    bool Load(CAvatarLayer& layer, const char* section, const char* path) const {
        if (!LoadMainSheet(layer, path, ReadInt(section, "N"))) {
            return false;
        }
        const int subSheets = std::min(ReadInt(section, "S"), kMaxSubSheets);
        if (subSheets > 0) {
            std::vector<int> subTiles(static_cast<size_t>(subSheets));
            for (int i = 0; i < subSheets; ++i) {
                char key[16];
                std::snprintf(key, sizeof key, "S%d", i + 1);
                subTiles[static_cast<size_t>(i)] = ReadInt(section, key);
            }
            layer.LoadSubSheets(subSheets, subTiles.data());
        }
        return true;
    }

private:
    const char* m_home;
    char m_settings[kPathBytes];
    bool m_valid;
};

bool LoadRow(const SheetLoader& loader, int row, int maleColors, int femaleColors) {
    if (row == kRowRearHairHat || row == kRowFrontHairHat) {
        const bool rear = row == kRowRearHairHat;
        return loader.LoadHairColors(rear ? kMaleRearHair : kMaleFrontHair, maleColors) &&
               loader.LoadHairColors(rear ? kFemaleRearHair : kFemaleFrontHair, femaleColors) &&
               loader.LoadNamed(g_AvtrLayers[row][1], kLayerNames[row][1]) &&
               loader.LoadNamed(g_AvtrLayers[row][5], kLayerNames[row][5]);
    }
    for (int column = 0; column < kLegacyColumns; ++column) {
        const char* name = kLayerNames[row][column];
        if (name != nullptr && !loader.LoadNamed(g_AvtrLayers[row][column], name)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int MeInitAvatar(void) {
    if (g_bMeInitTried) {
        return 0;
    }
    g_bMeInitTried = 1;
    char current[kPathBytes];
    char home[kPathBytes];
    const DWORD currentLength = GetCurrentDirectoryA(sizeof current, current);
    // An empty home would put the sheets at the file system's root.
    if (currentLength == 0 || currentLength >= sizeof current || !GetVeltrunDirectory(home) ||
        home[0] == '\0') {
        return 0;
    }
    const SheetLoader loader(home);
    if (!loader.Valid()) {
        return 0;
    }
    const int maleColors = loader.HairColors("MHCN");
    const int femaleColors = loader.HairColors("FHCN");
    for (int row = 0; row < kLegacyRows; ++row) {
        if (!LoadRow(loader, row, maleColors, femaleColors)) {
            return 0;
        }
    }
    if (!LoadMainSheet(g_SpecialLayer, ".\\Avatar\\zenhap1.avt", 1) ||
        !LoadMainSheet(g_DefaultLayer, ".\\Avatar\\default.avt", 2)) {
        return 0;
    }
    g_bMeInitDone = 1;
    return 1;
}
