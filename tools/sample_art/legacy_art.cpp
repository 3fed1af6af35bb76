// Legacy art: a sheet for every part the legacy tables name, as rows of 46 x 64
// tiles cut from the figure box of the layered drawings, so that a composed code
// shows the same kind of person. Tile 0 of every optional layer is empty.
#include <array>
#include <cstdio>
#include <string>

#include "art_sets.h"
#include "figures.h"

namespace sampleart {
namespace {

constexpr int kTileWidth = 46;
constexpr int kTileHeight = 64;
constexpr int kTallHeight = 102;
// Skin of body and face sheets by tile (frames 1 to 3 are the tones W, Y, B).
constexpr std::array<uint8_t, 4> kSkinTones = {kSkin, kSkin, kSkinTan, kSkinDark};
// Hair colours 1 to 5.
constexpr std::array<uint8_t, 5> kHairColours = {kHairBlack, kHairMale, kHairBlond, kHairFemale,
                                                 kHairBlue};

using Tiles = std::vector<Canvas>;

Canvas Tile(const Canvas& layer) {
    return layer.Cropped(kBoxLeft, kBoxTop, kTileWidth, kTileHeight);
}

Canvas Empty() {
    return Canvas(kTileWidth, kTileHeight);
}

// The first frame of each layer, composed and cut to one tile.
Canvas Layers(const std::vector<std::vector<Frame>>& layers) {
    Canvas c(kFigureWidth, kFigureHeight);
    for (const auto& layer : layers) {
        c.Paint(layer.front().canvas);
    }
    return Tile(c);
}

Canvas Sheet(const Tiles& tiles) {
    Canvas sheet(kTileWidth * static_cast<int>(tiles.size()), tiles.front().height());
    for (size_t i = 0; i < tiles.size(); ++i) {
        sheet.Paint(tiles[i], static_cast<int>(i) * kTileWidth, 0);
    }
    return sheet;
}

class LegacyWriter {
public:
    explicit LegacyWriter(ArtWriter& portal) : m_portal(portal) {}

    // A part's main sheet and its sub-sheets (NAME0001.avt, ...), and its settings.
    bool Part(const std::string& name, const Tiles& tiles, const std::vector<Tiles>& subs = {}) {
        Section(name, tiles.size(), subs);
        bool ok = m_portal.Bitmap("Avatar/" + name + ".avt", Sheet(tiles));
        for (size_t i = 0; ok && i < subs.size(); ++i) {
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, "%04zu", i + 1);
            ok = m_portal.Bitmap("Avatar/" + name + suffix + ".avt", Sheet(subs[i]));
        }
        return ok;
    }

    // The sheets of one hair-colour table, all sharing the table's section.
    bool HairColours(const std::string& table, Sex sex, bool front) {
        bool ok = true;
        for (size_t k = 0; ok && k < kHairColours.size(); ++k) {
            const Tiles tiles = Hair(sex, front, kHairColours[k]);
            ok = m_portal.Bitmap("Avatar/" + table + std::to_string(k + 1) + ".avt", Sheet(tiles));
            if (k == 0) {
                Section(table, tiles.size(), {});
            }
        }
        return ok;
    }

    void Count(const std::string& section, size_t value) {
        m_ini += "[" + section + "]\nN=" + std::to_string(value) + "\n\n";
    }

    bool Finish() { return m_portal.Text("Avatar/Avatar3.ini", m_ini); }

    static Tiles Hair(Sex sex, bool front, uint8_t colour) {
        Tiles tiles = {Empty()};
        for (char style : {'n', 'a', 'b'}) {
            tiles.push_back(
                Tile((front ? HairFront : HairBack)(sex, style, colour).front().canvas));
        }
        return tiles;
    }

private:
    void Section(const std::string& name, size_t tiles, const std::vector<Tiles>& subs) {
        m_ini += "[" + name + "]\nN=" + std::to_string(tiles) + "\n";
        if (!subs.empty()) {
            m_ini += "S=" + std::to_string(subs.size()) + "\n";
            for (size_t i = 0; i < subs.size(); ++i) {
                m_ini += "S" + std::to_string(i + 1) + "=" + std::to_string(subs[i].size()) + "\n";
            }
        }
        m_ini += "\n";
    }

    ArtWriter& m_portal;
    std::string m_ini;
};

Tiles Faces(Sex sex, const std::string& expressions, uint8_t skin) {
    Tiles tiles;
    for (char expression : expressions) {
        tiles.push_back(Tile(Face(sex, expression, skin).front().canvas));
    }
    return tiles;
}

// The parts of one set (M or F) of the legacy tables.
bool WriteSet(LegacyWriter& legacy, Sex sex) {
    const std::string s = sex == Sex::kMale ? "M" : "F";
    const uint8_t hair = HairColour(sex);
    Tiles bodies;
    Tiles faces;
    for (uint8_t skin : kSkinTones) {
        bodies.push_back(Tile(Body(skin)));
        faces.push_back(Faces(sex, "a", skin).front());
    }
    bool ok = legacy.Part(s + "RH", LegacyWriter::Hair(sex, false, hair)) &&
              legacy.Part(s + "FH", LegacyWriter::Hair(sex, true, hair)) &&
              legacy.HairColours(s + "RHC", sex, false) &&
              legacy.HairColours(s + "FHC", sex, true) &&
              legacy.Part(s + "RHAT", {Empty(), Layers({HairBack(sex, 'n', hair)})}) &&
              legacy.Part(s + "FHAT", {Empty(), Layers({HairFront(sex, 'n', hair), Hat()})}) &&
              legacy.Part(s + "B", bodies) && legacy.Part(s + "F", faces);
    const char* tones = "WYB";
    for (int column = 0; ok && column < 3; ++column) {
        const uint8_t skin = kSkinTones[static_cast<size_t>(column) + 1];
        ok = legacy.Part(s + "FP" + tones[column], Faces(sex, "aac", skin)) &&
             legacy.Part(s + "FM" + tones[column], Faces(sex, "bbc", skin));
    }
    // The upper clothes go on in two sub-sheets: frames 3 and 4, then 5.
    const std::vector<Frame> shirt = UpperClothes(sex, 1);
    ok = ok &&
         legacy.Part(
             s + "HC", {Empty(), Tile(shirt[0].canvas), Tile(UpperClothes(sex, 2)[0].canvas)},
             {{Layers({shirt, Jacket()}), Tile(shirt[1].canvas)}, {Layers({SuitFront()})}}) &&
         legacy.Part(s + "LC", {Empty(), Tile(LowerClothes(sex, 1)[0].canvas),
                                Tile(LowerClothes(sex, 2)[0].canvas)});
    const Canvas costume =
        Layers({CapeBack(), LowerClothes(sex, 1), UpperClothes(sex, 1), SuitFront(),
                Face(sex, 'a', kSkin), Mask('a'), HairFront(sex, 'n', hair), Belt()});
    return ok &&
           legacy.Part(s + "RHSA", {Empty(), Layers({CapeBack(), HairBack(sex, 'n', hair)})}) &&
           legacy.Part(s + "FHSA", {Empty(), Layers({Mask('a'), HairFront(sex, 'n', hair)})}) &&
           legacy.Part(s + "CSA", {Empty(), Layers({SuitFront(), Belt()})}) &&
           legacy.Part(s + "CSB", {Empty(), costume, Tile(Figure(sex, {1, 0}))}) &&
           legacy.Part(s + "A1", {Empty(), Layers({Glasses()})}) &&
           legacy.Part(s + "A2", {Empty(), Layers({Hat()})}) &&
           legacy.Part(s + "A3", {Empty(), Layers({ScarfFront()})}) &&
           legacy.Part(s + "RA3", {Empty(), Layers({ScarfBack()})}) &&
           legacy.Part(s + "A4", {Empty(), Layers({Balloon()})});
}

// A grey figure with a question mark on its head, 45 x 102.
Canvas QuestionMark(Sex sex) {
    Canvas c = Silhouette(sex).Cropped(kBoxLeft, kBoxTop, kTileWidth - 1, kTallHeight);
    c.Rect(15, 8, 30, 11, kQuestion);
    c.Rect(27, 8, 31, 20, kQuestion);
    c.Rect(13, 9, 17, 15, kQuestion);
    c.Rect(20, 17, 30, 20, kQuestion);
    c.Rect(20, 17, 24, 26, kQuestion);
    c.Rect(20, 29, 24, 33, kQuestion);
    return c;
}

Canvas Special() {
    Canvas c = Silhouette(Sex::kMale);
    c.Recolour(kGold);
    c.Paint(Glasses().front().canvas);
    c.Paint(Belt().front().canvas);
    return Tile(c);
}

}  // namespace

bool WriteLegacyArt(ArtWriter& portal) {
    LegacyWriter legacy(portal);
    legacy.Count("MHCN", kHairColours.size());
    legacy.Count("FHCN", kHairColours.size());
    return WriteSet(legacy, Sex::kMale) && WriteSet(legacy, Sex::kFemale) && legacy.Finish() &&
           portal.Bitmap("Avatar/zenhap1.avt", Special()) &&
           portal.Bitmap("Avatar/default.avt",
                         Sheet({Tile(Silhouette(Sex::kMale)), Tile(Silhouette(Sex::kFemale))})) &&
           portal.Bitmap("images/defaultMAvtr.qim", QuestionMark(Sex::kMale)) &&
           portal.Bitmap("images/defaultWAvtr.qim", QuestionMark(Sex::kFemale));
}

}  // namespace sampleart
