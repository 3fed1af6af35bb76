// The demo's avatars through the facade CKvAvatar: animated avatars of the three
// sample players in several kinds, sizes and variants, each drawn once message
// 1060 has announced it, and one legacy avatar with the switch off.
#include <memory>

#include "animated/kv_avatar.h"
#include "demo_cell.h"

namespace kvcli {
namespace {

struct Animated {
    const char* player;
    int a2, a5, a6, a7;  // com (AC), full (F), action (A), whole (AW)
    const char* options;
};

const Animated kAnimated[] = {
    {"kvwave", 0, 0, 1, 0, "AGHA, waves for ever"},
    {"kvblink", 0, 1, 1, 0, "AGFA, blinks three times"},
    {"kvjump", 0, 1, 1, 0, "AGFA, jumps once"},
    {"kvwave", 1, 1, 1, 0, "ACFA, small"},
    {"kvblink", 0, 0, 1, 1, "AWHA, on its panel"},
    {"kvjump", 0, 1, 0, 0, "AGFS, still"},
};

// The cache name of the avatar, as the library builds it.
std::string FileName(const Animated& entry) {
    return std::string("A") +
           (entry.a7   ? 'W'
            : entry.a2 ? 'C'
                       : 'G') +
           (entry.a5 ? 'F' : 'H') + (entry.a6 ? 'A' : 'S') + "_" + entry.player + ".GIF";
}

SIZE SizeOf(const Animated& entry) {
    const int height = entry.a5 ? 102 : 64;
    return entry.a2 && !entry.a7 ? SIZE{23, height / 2} : SIZE{46, height};
}

DemoCell FacadeCell(std::string id, std::string options, SIZE size, bool animated,
                    const std::function<int(CKvAvatar&)>& create) {
    auto facade = std::make_shared<CKvAvatar>();
    DemoCell cell{"animated", std::move(id), std::move(options), size};
    cell.start = [facade, animated, create](HWND window) {
        CKvAvatar::m_bUseNewAvatar = animated ? 1 : 0;
        facade->SetWindowHandle(window);
        const bool created = create(*facade) != 0;
        CKvAvatar::m_bUseNewAvatar = 1;
        return created;
    };
    cell.ready = [facade] { return facade->IsReady() != 0; };
    cell.draw = [facade](HDC hdc, int x, int y) { facade->Draw(hdc, x, y, 0); };
    if (animated) {
        cell.announcedBy = reinterpret_cast<LPARAM>(facade.get());
    }
    return cell;
}

}  // namespace

std::vector<DemoCell> AnimatedCells() {
    std::vector<DemoCell> cells;
    for (const Animated& entry : kAnimated) {
        cells.push_back(FacadeCell(
            entry.player, entry.options, SizeOf(entry), true, [entry](CKvAvatar& facade) {
                return facade.Create(entry.player, entry.a2, 0, 0, entry.a5, entry.a6, entry.a7);
            }));
        cells.back().downloads = {"/IMG_AVTR/" + FileName(entry)};
    }
    const char* code = "NEN0312001002N010000000100";
    cells.push_back(
        FacadeCell(code, "switch off: legacy", {45, 64}, false,
                   [code](CKvAvatar& facade) { return facade.Create(code, 0, 0, 0, 0, 0, 0); }));
    return cells;
}

}  // namespace kvcli
