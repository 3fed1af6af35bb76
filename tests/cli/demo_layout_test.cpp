// The demo's grid and captions: cells never overlap and stay inside the picture,
// each section starts a row of its own, and text never writes outside its rows.
#include <gtest/gtest.h>

#include "demo_font.h"
#include "demo_layout.h"

namespace {

using kvcli::DemoCell;

bool Overlap(const DemoCell& a, const DemoCell& b) {
    return a.at.x < b.at.x + b.size.cx && b.at.x < a.at.x + a.size.cx &&
           a.at.y < b.at.y + b.size.cy && b.at.y < a.at.y + a.size.cy;
}

TEST(DemoLayout, CellsKeepApartInsideThePicture) {
    std::vector<DemoCell> cells;
    const std::pair<const char*, int> sections[] = {
        {"layered", 14}, {"legacy", 9}, {"anonymous", 7}, {"animated", 8}};
    for (const auto& [section, count] : sections) {
        for (int i = 0; i < count; ++i) {
            cells.emplace_back(section, "id", "options", SIZE{22 + i * 7 % 79, 32 + i * 11 % 89});
        }
    }
    const SIZE size = kvcli::LayOut(cells);
    for (size_t i = 0; i < cells.size(); ++i) {
        EXPECT_GE(cells[i].at.x, 0);
        EXPECT_LE(cells[i].at.x + cells[i].size.cx, size.cx);
        EXPECT_LE(cells[i].at.y + cells[i].size.cy, size.cy);
        for (size_t j = i + 1; j < cells.size(); ++j) {
            EXPECT_FALSE(Overlap(cells[i], cells[j])) << i << " " << j;
            if (cells[i].section != cells[j].section) {
                EXPECT_GT(cells[j].at.y, cells[i].at.y + cells[i].size.cy) << i << " " << j;
            }
        }
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
    kvcli::PaintBackdrop({pixels.data(), size.cx, size.cy}, cells);
    EXPECT_NE(pixels.front(), pixels[cells[0].at.y * size.cx + cells[0].at.x]);
}

TEST(DemoFont, TextClipsAtTheEdgesOfItsRows) {
    std::vector<uint32_t> pixels(10 * 6 + 1, 0);
    const kvcli::PixelRows rows{pixels.data(), 10, 6};
    kvcli::DrawText(rows, -2, -3, "WWWWWW", 1);
    kvcli::DrawText(rows, 7, 4, "#", 1);
    EXPECT_EQ(pixels.back(), 0u);  // the word past the rows
    EXPECT_EQ(pixels[5 * 10 + 9], 1u);
}

TEST(DemoFont, WrapsAfterUnderscoresAndAtSpaces) {
    const struct {
        const char* text;
        size_t width;
        const char* wrapped;
    } cases[] = {
        {"lcm001_hcm001_fnm001a", 14, "lcm001_hcm001_\nfnm001a"},
        {"com, slow download", 10, "com, slow\ndownload"},
        {"NNN0121001001N010000000000", 10, "NNN0121001\n001N010000\n000000"},
        {"short", 10, "short"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kvcli::WrapText(c.text, c.width), c.wrapped) << c.text;
    }
}

}  // namespace
