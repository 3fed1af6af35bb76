// The demo's legacy avatars (kinds N, A, B and X, half and selected) and its
// anonymous avatars, as objects and through the free functions at all four sizes.
#include <memory>

#include "demo_cell.h"
#include "legacy/anonymous_avatar.h"
#include "legacy/kv_avtr.h"

namespace kvcli {
namespace {

struct Legacy {
    const char* code;
    const char* options;
    int half = 0;
    bool selected = false;
};

const Legacy kLegacy[] = {
    {"NNN0121001001N010000000000", "kind N, the default code"},
    {"NCN0212002003A020000000000", "kind N, hair colour 3, jacket"},
    {"N1N0131001004B010101000100", "kind N, hat, scarf, balloon"},
    {"NEN0312001002N010000000100", "kind N, hair colour 5, glasses"},
    {"ANN0111001001N010000000001", "kind A, set"},
    {"BNN0111001001N010000000001", "kind B, costume"},
    {"XNN0111001001N010000000000", "kind X"},
    {"NCN0212002003A020000000000", "half", 1},
    {"NNN0121001001N010000000000", "selected", 0, true},
};

DemoCell ObjectCell(const std::shared_ptr<CKvAvtr>& avatar, const char* section, std::string id,
                    std::string options, bool created, bool selected) {
    DemoCell cell{section,
                  std::move(id),
                  std::move(options),
                  {avatar->GetDrawWidth(), avatar->GetDrawHeight()}};
    cell.start = [created](HWND) { return created; };
    cell.ready = [avatar] { return avatar->HasAvatarBitmap() != 0; };
    cell.draw = [avatar, selected](HDC hdc, int x, int y) {
        if (selected) {
            avatar->DrawSelected(hdc, x, y, 0, 0);
        } else {
            avatar->Draw(hdc, x, y, 0);
        }
    };
    return cell;
}

}  // namespace

std::vector<DemoCell> LegacyCells() {
    std::vector<DemoCell> cells;
    for (const Legacy& entry : kLegacy) {
        auto avatar = std::make_shared<CKvAvtr>();
        const bool created = avatar->Create(entry.code, entry.half, 0, 0, 0) != 0;
        cells.push_back(
            ObjectCell(avatar, "legacy", entry.code, entry.options, created, entry.selected));
    }
    return cells;
}

std::vector<DemoCell> AnonymousCells() {
    struct Object {
        int male, half, tall;
        bool selected;
        const char* options;
    };
    const Object objects[] = {{1, 0, 0, false, "object, male"},
                              {0, 1, 1, false, "object, female, half, tall"},
                              {0, 0, 1, true, "object, female, tall, selected"}};
    std::vector<DemoCell> cells;
    for (const Object& entry : objects) {
        auto avatar = std::make_shared<CKvAvtr>();
        const bool created =
            avatar->CreateAnonymousAvatar(entry.male, entry.half, 0, 0, entry.tall) != 0;
        cells.push_back(ObjectCell(avatar, "anonymous", avatar->GetCode(), entry.options, created,
                                   entry.selected));
    }
    const SIZE sizes[] = {{22, 32}, {22, 51}, {45, 64}, {45, 102}};
    for (int size = 0; size < 4; ++size) {
        DemoCell cell{"anonymous", "DrawAnonymousAvatar",
                      "free function, size " + std::to_string(size), sizes[size]};
        cell.start = [](HWND) { return initAnonymousBitmap() == 1; };
        cell.ready = [] {
            return g_pAnonymousImage64 != nullptr && g_pAnonymousImage64->GetWidth() > 0;
        };
        cell.draw = [size](HDC hdc, int x, int y) { DrawAnonymousAvatar(hdc, x, y, size); };
        cells.push_back(std::move(cell));
    }
    return cells;
}

}  // namespace kvcli
