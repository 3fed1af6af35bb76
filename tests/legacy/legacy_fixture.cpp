#include "legacy_fixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "legacy/legacy_tables.h"
#include "platform/testing.h"

namespace legacy_test {
namespace fs = std::filesystem;

namespace {

class ArtFolder : public ::testing::Environment {
public:
    void TearDown() override {
        fs::current_path(m_oldCwd);
        fs::remove_all(m_folder);
    }

    int Load() {
        kvtest::LegacyArt art(m_folder.string());
        art.Set("MA1", "S", "2").Set("MA1", "S1", "3").Set("MA1", "S2", "1");
        art.Sheet("MA10001", 3).Sheet("MA10002", 1).Sheet("MRHC6", 4).Sheet("MFHC7", 4);
        art.Set("MHCN", "N", "7").Set("FHCN", "N", "2").Set("FRHAT", "", "");
        EXPECT_TRUE(art.Write());
        std::ofstream(m_folder / "registry.ini")
            << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << m_folder.string() << "\n";
        kvplatform::SetRegistryFile((m_folder / "registry.ini").string());
        fs::current_path(m_folder);
        return MeInitAvatar();
    }

private:
    const fs::path m_folder =
        fs::temp_directory_path() / ("kvavtr-legacy-" + std::to_string(getpid()));
    const fs::path m_oldCwd = fs::current_path();
};

}  // namespace

int LoadLegacyArt() {
    static ArtFolder* folder = nullptr;
    static int loaded = 0;
    if (folder == nullptr) {
        folder = new ArtFolder;
        ::testing::AddGlobalTestEnvironment(folder);  // gtest deletes it
        loaded = folder->Load();
    }
    return loaded;
}

uint16_t ImagePixel(CKvAImage& image, int x, int y) {
    return reinterpret_cast<const uint16_t*>(image.GetBits(y))[x];
}

std::string Bands(CKvAImage& image) {
    std::string names;
    for (int band = 0; band < 11; ++band) {
        names += (band ? " " : "") +
                 kvtest::LegacyPixelName(ImagePixel(image, band * kvtest::kLegacyBand + 1, 10));
    }
    return names;
}

}  // namespace legacy_test
