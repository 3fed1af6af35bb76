// One avatar of the demo's grid: what it is, how large it paints, how it starts,
// how to tell that everything it needs has arrived, and how it draws.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace kvcli {

struct DemoCell {
    DemoCell(std::string section, std::string id, std::string options, SIZE size)
        : section(std::move(section)), id(std::move(id)), options(std::move(options)), size(size) {}

    std::string section;  // "layered", "legacy", "anonymous" or "animated"
    std::string id;       // identifier, code or player shown in the caption
    std::string options;  // how it is created and drawn
    SIZE size;            // the area it paints
    // Creates the avatar for the demo's window; false when creation failed.
    std::function<bool(HWND)> start;
    std::function<bool()> ready;
    std::function<void(HDC, int, int)> draw;
    // Part files or animated avatar files it waits for, each counted once.
    std::vector<std::string> downloads;
    // The lParam of message 1060 that announces this cell's avatar; such a cell is
    // drawn only after its announcement. 0: drawn from the start.
    LPARAM announcedBy = 0;
    POINT at{};  // top-left of the painted area, set by the layout
};

// Each list owns its avatars through its cells; clear them before DestroyAvatarDll.
// stage is the background picture of one layered avatar.
std::vector<DemoCell> LayeredCells(const std::string& stage);
std::vector<DemoCell> LegacyCells();
std::vector<DemoCell> AnonymousCells();
// Through the facade; started on the demo's window.
std::vector<DemoCell> AnimatedCells();

}  // namespace kvcli
