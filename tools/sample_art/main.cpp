// kvavtr_sample_art OUTDIR: writes the built-in sample art.
//   OUTDIR/server/avgif/<type>/<part>.gif     layered parts, as the part server holds them
//   OUTDIR/server/IMG_AVTR/<prefix>_<ID>.GIF  whole-avatar (com) images
//   OUTDIR/common/images/<prefix>_<ID>.gif    the default avatars' images
#include <cstdio>
#include <filesystem>
#include <string>

#include "figures.h"

namespace {

using sampleart::Sex;
namespace fs = std::filesystem;

bool Write(const fs::path& path, const std::vector<sampleart::Frame>& frames) {
    fs::create_directories(path.parent_path());
    std::string error;
    if (!sampleart::WriteGif(path.string(), frames, error)) {
        std::fprintf(stderr, "kvavtr_sample_art: %s\n", error.c_str());
        return false;
    }
    std::printf("%s\n", path.string().c_str());
    return true;
}

// The full-size picture under the W prefix and the half-size one under C.
bool WriteBothSizes(const fs::path& folder, const std::string& id, const std::string& extension,
                    const sampleart::Canvas& picture) {
    return Write(folder / ("AWFS_" + id + extension), {{picture, 0}}) &&
           Write(folder / ("ACFS_" + id + extension), {{picture.Halved(), 0}});
}

bool WriteLayeredParts(const fs::path& avgif, Sex sex) {
    const std::string g = sex == Sex::kMale ? "m" : "f";
    return Write(avgif / "pn" / ("pn" + g + "001b.gif"), sampleart::HairBack(sex)) &&
           Write(avgif / "lc" / ("lc" + g + "001.gif"), sampleart::LowerClothes(sex)) &&
           Write(avgif / "hc" / ("hc" + g + "001.gif"), sampleart::UpperClothes(sex)) &&
           Write(avgif / "fn" / ("fn" + g + "001a.gif"), sampleart::Face(sex)) &&
           Write(avgif / "pn" / ("pn" + g + "001a.gif"), sampleart::HairFront(sex));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvavtr_sample_art OUTDIR\n");
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path server = out / "server";
    const fs::path defaults = out / "common" / "images";
    const bool ok = WriteLayeredParts(server / "avgif", Sex::kMale) &&
                    WriteLayeredParts(server / "avgif", Sex::kFemale) &&
                    WriteBothSizes(server / "IMG_AVTR", "SAMPLE_BOY", ".GIF",
                                   sampleart::Composite(Sex::kMale)) &&
                    WriteBothSizes(server / "IMG_AVTR", "SAMPLE_GIRL", ".GIF",
                                   sampleart::Composite(Sex::kFemale)) &&
                    WriteBothSizes(defaults, "LCM001_HCM001_FNM001A_PNM001", ".gif",
                                   sampleart::Silhouette(Sex::kMale)) &&
                    WriteBothSizes(defaults, "LCF001_HCF001_FNF001A_PNF001", ".gif",
                                   sampleart::Silhouette(Sex::kFemale));
    return ok ? 0 : 1;
}
