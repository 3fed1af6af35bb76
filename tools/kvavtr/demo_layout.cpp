#include "demo_layout.h"

#include <algorithm>
#include <sstream>

namespace kvcli {
namespace {

constexpr int kColumns = 8;
constexpr int kMargin = 6;
constexpr int kCellWidth = 120;
constexpr int kPanelWidth = 112;
constexpr int kPanelHeight = 124;
constexpr int kCaptionLines = 5;
constexpr int kCellHeight = kPanelHeight + 4 + kCaptionLines * kLineHeight + 4;
constexpr int kHeadingHeight = 14;
constexpr size_t kCaptionChars = kPanelWidth / kGlyphAdvance;

constexpr uint32_t kPage = 0xF4F4F4;
constexpr uint32_t kInk = 0x202020;
constexpr uint32_t kMutedInk = 0x606060;

struct Section {
    const char* name;
    const char* heading;
    uint32_t panel;
};

const Section kSections[] = {
    {"layered", "LAYERED AVATARS - CAVTR2004", 0xFFF4C8},
    {"legacy", "LEGACY AVATARS - CKVAVTR", 0xD8F4D8},
    {"anonymous", "ANONYMOUS AVATARS", 0xF8DCE8},
    {"animated", "THE FACADE CKVAVATAR - ANIMATED AVATARS", 0xE4DCF8},
};

const Section& SectionOf(const DemoCell& cell) {
    for (const Section& section : kSections) {
        if (cell.section == section.name) {
            return section;
        }
    }
    return kSections[0];
}

// The panel's top-left corner for a cell placed at `at`.
POINT PanelOf(const DemoCell& cell) {
    return {cell.at.x - (kPanelWidth - cell.size.cx) / 2, cell.at.y - 2};
}

void Fill(PixelRows rows, int left, int top, int width, int height, uint32_t colour) {
    for (int y = std::max(top, 0); y < std::min(top + height, rows.height); ++y) {
        for (int x = std::max(left, 0); x < std::min(left + width, rows.width); ++x) {
            rows.pixels[static_cast<size_t>(y) * rows.width + x] = colour;
        }
    }
}

}  // namespace

SIZE LayOut(std::vector<DemoCell>& cells) {
    int y = kMargin;
    int column = 0;
    const char* section = "";
    for (DemoCell& cell : cells) {
        if (cell.section != section) {
            y += *section == '\0' ? kHeadingHeight : kCellHeight + kHeadingHeight;
            section = SectionOf(cell).name;
            column = 0;
        } else if (column == kColumns) {
            y += kCellHeight;
            column = 0;
        }
        const int left = kMargin + column * kCellWidth + (kCellWidth - kPanelWidth) / 2;
        cell.at = {left + (kPanelWidth - cell.size.cx) / 2, y + 2};
        ++column;
    }
    return {kMargin * 2 + kColumns * kCellWidth, y + kCellHeight + kMargin};
}

void PaintBackdrop(PixelRows rows, const std::vector<DemoCell>& cells) {
    Fill(rows, 0, 0, rows.width, rows.height, kPage);
    const char* section = "";
    for (const DemoCell& cell : cells) {
        const POINT panel = PanelOf(cell);
        if (cell.section != section) {
            section = SectionOf(cell).name;
            DrawText(rows, kMargin, panel.y - kHeadingHeight + 4, SectionOf(cell).heading, kInk);
        }
        Fill(rows, panel.x, panel.y, kPanelWidth, kPanelHeight, SectionOf(cell).panel);
        std::istringstream lines(WrapText(cell.options, kCaptionChars) + "\n" +
                                 WrapText(cell.id, kCaptionChars));
        std::string line;
        int y = panel.y + kPanelHeight + 4;
        for (int n = 0; n < kCaptionLines && std::getline(lines, line); ++n) {
            DrawText(rows, panel.x, y, line, n == 0 ? kInk : kMutedInk);
            y += kLineHeight;
        }
    }
}

}  // namespace kvcli
