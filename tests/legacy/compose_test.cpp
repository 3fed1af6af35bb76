// Legacy codes composed from the test art: each band of the picture names the layer
// and frame drawn last there, so one string pins the order of every layer.
#include <gtest/gtest.h>

#include "legacy/legacy_code.h"
#include "legacy/legacy_tables.h"
#include "legacy_fixture.h"

namespace {

using legacy_test::Bands;
using legacy_test::ImagePixel;

struct ComposeCase {
    const char* code;
    int result;
    std::string bands;
};

std::string Repeat(const std::string& name) {
    std::string all = name;
    for (int band = 1; band < 11; ++band) {
        all += " " + name;
    }
    return all;
}

TEST(LegacyCompose, EveryKindDrawsItsLayersBackToFront) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    const ComposeCase cases[] = {
        {"NNN0121001001N010000000000", 1,
         "MA4:0 MRH:1 MRA3:0 MB:2 MLC:1 MHC:1 MF:2 MA3:0 MFH:1 MA2:0 MA1:0"},
        {"NNN0121001001N010000000000NN99-1", 1,  // cut to 26 characters
         "MA4:0 MRH:1 MRA3:0 MB:2 MLC:1 MHC:1 MF:2 MA3:0 MFH:1 MA2:0 MA1:0"},
        {"NNN0122002003N010102030000", 1,
         "FA4:1 FRH:1 FRA3:2 FB:2 FLC:2 FHC:3 FF:2 FA3:2 FFH:1 FA2:3 FA1:0"},
        {"NCN0221001001N010000000000", 1,
         "MA4:0 MRHC3:2 MRA3:0 MB:2 MLC:1 MHC:1 MF:2 MA3:0 MFHC3:2 MA2:0 MA1:0"},
        {"NBN0322001001N010000000000", 1,
         "FA4:0 FRHC2:3 FRA3:0 FB:2 FLC:1 FHC:1 FF:2 FA3:0 FFHC2:3 FA2:0 FA1:0"},
        {"N1N0121001001N010000000000", 1,
         "MA4:0 MRHAT:1 MRA3:0 MB:2 MLC:1 MHC:1 MF:2 MA3:0 MFHAT:1 MA2:0 MA1:0"},
        {"NZN0111001001A020000000000", 1,
         "MA4:0 MA4:0 MRA3:0 MB:1 MLC:1 MHC:1 MFPW:2 MA3:0 MA3:0 MA2:0 MA1:0"},
        {"NNN0132001001B030000000000", 1,
         "FA4:0 FRH:1 FRA3:0 FB:3 FLC:1 FHC:1 FFMB:3 FA3:0 FFH:1 FA2:0 FA1:0"},
        {"NNN0121001001Z01-,00000000", 1,
         "MA4:1 MRH:1 MRA3:0 MB:2 MLC:1 MHC:1 MHC:1 MA3:0 MFH:1 MA2:0 MA1:0"},
        // Frames beyond the main sheet run on through MA1's sub-sheets.
        {"NNN0121001001N010000000500", 1,
         "MA4:0 MRH:1 MRA3:0 MB:2 MLC:1 MHC:1 MF:2 MA3:0 MFH:1 MA2:0 MA10001:1"},
        {"NNN0121001001N010000000700", 1,
         "MA4:0 MRH:1 MRA3:0 MB:2 MLC:1 MHC:1 MF:2 MA3:0 MFH:1 MA2:0 MA10002:0"},
        {"ANN0121001001A010000000003", 1,
         "MA4:0 MRHSA:3 MRA3:0 MB:2 MB:2 MCSA:3 MFPY:1 MA3:0 MFHSA:3 MA2:0 MA1:0"},
        {"BNN0122001001N0100000000-,", 1, Repeat("FCSB:1")},
        {"XNN0129001001N010000000000", 1, Repeat("zenhap1:0")},
        {"QNN0121001001N010000000000", 1, Repeat("transparent")},
        // Fall-back to the set's default picture.
        {"NNN0121001001N019900000000", 1, Repeat("default:0")},
        {"NNN0122001001N010000009900", 1, Repeat("default:1")},
        {"NNN0121001001N010000000800", 1, Repeat("default:0")},
        {"NNN-121001001N010000000000", 1, Repeat("default:0")},
        {"NNN0121001001N010000!!0000", 1, Repeat("default:0")},
        {"NDN0122001001N010000000000", 1, Repeat("default:1")},  // 2 female colours
        {"NNN0141001001N010000000000", 1, Repeat("default:0")},
        {"ANN0121001001N010000000009", 1, Repeat("default:0")},
        // Codes that point outside the tables are refused.
        {"NNN0123001001N010000000000", 0, ""},
        {"BNN0120001001N010000000000", 0, ""},
        {"NNN0141001001A010000000000", 0, ""},
        {"ANN0101001001B010000000000", 0, ""},
    };
    for (const ComposeCase& c : cases) {
        CKvAvtr avatar;
        ASSERT_EQ(avatar.Create(c.code, 0, 0, 0, 0), c.result) << c.code;
        if (c.result) {
            EXPECT_EQ(Bands(avatar.GetImage()), c.bands) << c.code;
            EXPECT_EQ(avatar.GetImage().GetWidth(), 46);
            EXPECT_EQ(ImagePixel(avatar.GetImage(), 20, 62), 0x001F) << c.code;
        } else {
            EXPECT_EQ(avatar.HasAvatarBitmap(), 0) << c.code;
        }
    }
}

TEST(LegacyCompose, HalfPictureFillsTheTopLeftQuarterOfTheDrawSize) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    CKvAvtr avatar;
    ASSERT_EQ(avatar.Create("NNN0121001001N010000000000", 1, 0, 0, 0), 1);
    CKvAImage& image = avatar.GetImage();
    ASSERT_EQ(image.GetWidth(), 45);
    ASSERT_EQ(image.GetHeight(), 64);
    EXPECT_EQ(kvtest::LegacyPixelName(ImagePixel(image, 2 * 3, 5)), "MB:2");
    EXPECT_EQ(kvtest::LegacyPixelName(ImagePixel(image, 22, 29)), "MA1:0");
    for (const auto& [x, y] : {std::pair{23, 5}, {44, 0}, {5, 30}, {5, 32}, {0, 63}}) {
        EXPECT_EQ(ImagePixel(image, x, y), 0x001F) << x << "," << y;
    }
}

TEST(LegacyCompose, FrameCodesOfLetters) {
    EXPECT_EQ(LegacyFrameCode("AA", 0), 542);
    EXPECT_EQ(LegacyFrameCode("\xff\xff", 0), 26 * 255 + 255 - 1213);  // codes 0 to 255
}

TEST(LegacyCompose, NothingComposesWhileTheSheetsAreNotLoaded) {
    ASSERT_EQ(legacy_test::LoadLegacyArt(), 1);
    g_bMeInitDone = 0;
    CKvAvtr avatar;
    EXPECT_EQ(avatar.Create("NNN0121001001N010000000000", 0, 0, 0, 0), 0);
    g_bMeInitDone = 1;
}

}  // namespace
