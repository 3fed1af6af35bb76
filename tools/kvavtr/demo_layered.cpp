// The demo's layered avatars: several identifiers and expressions, every output
// region, a background picture, and com avatars that stand in until they arrive.
#include <chrono>
#include <memory>

#include "demo_cell.h"
#include "parts/avtr_part_pool.h"
#include "rendered_avatar.h"

namespace kvcli {
namespace {

constexpr unsigned long kBlueBack = 0x00FF0000;
constexpr unsigned long kWhiteBack = 0x00FFFFFF;

struct Layered {
    const char* id;
    const char* options;
    bool com = false;
    int small = 0;
    int fullHeight = 1;
    int box = 1;
    unsigned long back = kBlueBack;
    bool trans = true;
    RECT rect{-1, -1, -1, -1};
    bool stage = false;
    char sex = 'M';
    const char* expressions = "";  // cycled through, one a second
};

const Layered kLayered[] = {
    {"lcm001_hcm001_fnm001a_pnm001", "full height, box, transparent"},
    {"lcf001_hcf001_fnf001a_pnf001", "full height, box, white", false, 0, 1, 1, kWhiteBack, false},
    {"lcm002_hcm002_ocu001_fnm001b_pam001", "jacket, sad, spiky hair"},
    {"lcf002_hcf002_fnf001c_pbf001_a1u001_a2u001", "glasses, hat, surprised"},
    {"lcm001_hcm001_fnm001a_pnm001_sau001_a3u001_a4u001", "set, scarf, balloon"},
    {"lcf001_hcf001_fnf001a_paf001_sbu001a", "mask, spiky hair"},
    {"lcm001_hcm001_fnm001a_pnm001",
     "expression a, b in turn",
     false,
     0,
     1,
     1,
     kBlueBack,
     true,
     {-1, -1, -1, -1},
     false,
     'M',
     "ab"},
    {"lcm001_hcm001_fnm001a_pnm001", "box 64 high", false, 0, 0},
    {"lcf001_hcf001_fnf001a_pnf001", "small", false, 1, 1},
    {"lcm001_hcm001_fnm001a_pnm001", "no box, 64 rows", false, 0, 0, 0},
    {"lcf002_hcf001_fnf001a_pnf001",
     "drawing rect 10,0-90,115",
     false,
     0,
     1,
     0,
     kBlueBack,
     true,
     {10, 0, 90, 115}},
    {"lcm002_hcm001_fnm001a_pbm001",
     "no box, stage picture",
     false,
     0,
     1,
     0,
     kBlueBack,
     true,
     {-1, -1, -1, -1},
     true},
    {"SAMPLE_BOY",
     "com, small, stand-in first",
     true,
     1,
     1,
     1,
     kBlueBack,
     true,
     {-1, -1, -1, -1},
     false,
     'M'},
    {"SAMPLE_GIRL",
     "com, slow download, stand-in first",
     true,
     0,
     1,
     1,
     kBlueBack,
     true,
     {-1, -1, -1, -1},
     false,
     'F'},
};

std::vector<std::string> PartFiles(CAvtrId& id) {
    std::vector<std::string> files;
    for (const std::string& part : id.IdVec()) {
        files.push_back(id.IsComAvtr() ? "/IMG_AVTR/" + part + ".GIF"
                                       : "/avgif/" + part.substr(0, 2) + "/" + part + ".gif");
    }
    return files;
}

bool PartsInPool(CAvtrId& id) {
    for (std::string& part : id.IdVec()) {
        if (CAvtrPartPool::Inst() == nullptr || CAvtrPartPool::Inst()->Get(part) == nullptr) {
            return false;
        }
    }
    return !id.IdVec().empty();
}

DemoCell MakeCell(const Layered& entry, const std::string& stage) {
    auto avatar = std::make_shared<RenderedAvatar>();
    if (entry.rect.left >= 0) {
        RECT rect = entry.rect;
        avatar->SetDrawingRect(rect);
    }
    if (entry.stage) {
        avatar->SetBkgndImage(stage.c_str());
    }
    CAvtrId id;
    id.Set(entry.id, entry.com);
    const bool created =
        avatar->Create(id, entry.small, entry.fullHeight, entry.box, entry.back) != 0;
    DemoCell cell{"layered", entry.id, entry.options, avatar->OutputSize()};
    cell.downloads = PartFiles(avatar->AvatarId());
    cell.start = [created](HWND) { return created; };
    cell.ready = [avatar] { return PartsInPool(avatar->AvatarId()); };
    const auto start = std::chrono::steady_clock::now();
    cell.draw = [avatar, entry, start](HDC hdc, int x, int y) {
        const std::string letters = entry.expressions;
        if (!letters.empty()) {
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count();
            const char wanted = letters[static_cast<size_t>(seconds) % letters.size()];
            if (avatar->AvatarId().GetExpressionCode() != wanted) {
                avatar->ChangeAvatarExpress(wanted);
            }
        }
        avatar->Draw(hdc, x, y, entry.sex, entry.trans, 0);
    };
    return cell;
}

}  // namespace

std::vector<DemoCell> LayeredCells(const std::string& stage) {
    std::vector<DemoCell> cells;
    for (const Layered& entry : kLayered) {
        cells.push_back(MakeCell(entry, stage));
    }
    return cells;
}

}  // namespace kvcli
