// Layered parts for every type code the sample identifiers use, in both figures
// where the figures differ and as unisex ("u") parts where they do not.
#include <string>

#include "art_sets.h"
#include "figures.h"

namespace sampleart {
namespace {

bool Part(ArtWriter& server, const std::string& id, const std::vector<Frame>& frames) {
    return server.Gif("avgif/" + id.substr(0, 2) + "/" + id + ".gif", frames);
}

// The hair of one style: its back layer under letter b, its front under a.
bool Hair(ArtWriter& server, Sex sex, char style, uint8_t colour) {
    const std::string id = std::string("p") + style + (sex == Sex::kMale ? "m" : "f") + "001";
    return Part(server, id + "b", HairBack(sex, style, colour)) &&
           Part(server, id + "a", HairFront(sex, style, colour));
}

bool FigureParts(ArtWriter& server, Sex sex) {
    const std::string g = sex == Sex::kMale ? "m" : "f";
    bool ok = Hair(server, sex, 'n', HairColour(sex)) &&
              Hair(server, sex, 'a', sex == Sex::kMale ? kHairBlack : kHairBlond) &&
              Hair(server, sex, 'b', sex == Sex::kMale ? kHairBlond : kHairBlack);
    for (int variant : {1, 2}) {
        const std::string n = "00" + std::to_string(variant);
        ok = ok && Part(server, "lc" + g + n, LowerClothes(sex, variant)) &&
             Part(server, "hc" + g + n, UpperClothes(sex, variant));
    }
    for (char expression : {'a', 'b', 'c'}) {
        ok = ok && Part(server, "fn" + g + "001" + expression, Face(sex, expression, kSkin));
    }
    return ok;
}

bool UnisexParts(ArtWriter& server) {
    return Part(server, "ocu001", Jacket()) && Part(server, "a1u001", Glasses()) &&
           Part(server, "a2u001", Hat()) && Part(server, "a3u001b", ScarfBack()) &&
           Part(server, "a3u001a", ScarfFront()) && Part(server, "a4u001", Balloon()) &&
           Part(server, "sau001c", CapeBack()) && Part(server, "sau001b", SuitFront()) &&
           Part(server, "sau001a", Belt()) && Part(server, "sbu001a", Mask('a')) &&
           Part(server, "sbu001c", Mask('c'));
}

// The full-size picture under the W prefix and the half-size one under C.
bool BothSizes(ArtWriter& writer, const std::string& folder, const std::string& id,
               const std::string& extension, const Canvas& picture) {
    return writer.Gif(folder + "AWFS_" + id + extension, {{picture, 0}}) &&
           writer.Gif(folder + "ACFS_" + id + extension, {{picture.Halved(), 0}});
}

// A sky with a sun over a lawn, as large as the layered surface.
Canvas Stage() {
    Canvas c(kFigureWidth, kFigureHeight);
    c.Rect(0, 0, kFigureWidth, kFigureHeight, kPanel);
    c.Ellipse(70, 8, 90, 28, kGold);
    c.Rect(0, 96, kFigureWidth, kFigureHeight, kGreen);
    return c;
}

}  // namespace

bool WriteLayeredArt(ArtWriter& server, ArtWriter& portal) {
    return FigureParts(server, Sex::kMale) && FigureParts(server, Sex::kFemale) &&
           UnisexParts(server) &&
           BothSizes(server, "IMG_AVTR/", "SAMPLE_BOY", ".GIF", Composite(Sex::kMale)) &&
           BothSizes(server, "IMG_AVTR/", "SAMPLE_GIRL", ".GIF", Composite(Sex::kFemale)) &&
           BothSizes(portal, "common/images/", "LCM001_HCM001_FNM001A_PNM001", ".gif",
                     Silhouette(Sex::kMale)) &&
           BothSizes(portal, "common/images/", "LCF001_HCF001_FNF001A_PNF001", ".gif",
                     Silhouette(Sex::kFemale)) &&
           portal.Bitmap("images/stage.bmp", Stage());
}

}  // namespace sampleart
