// kvavtr anonymous: the question-mark picture from .\images, as an anonymous legacy
// avatar or, with --size, through the free drawing functions.
#include <string>

#include "avatar_picture.h"
#include "canvas_dc.h"
#include "command.h"
#include "frame/dll_lifecycle.h"
#include "legacy/anonymous_avatar.h"
#include "legacy/kv_avtr.h"
#include "png_out.h"

namespace kvcli {
namespace {

constexpr const char* kName = "anonymous";

bool DrawAtSize(const PictureOptions& options, std::string& error) {
    static const SIZE kSizes[] = {{22, 32}, {22, 51}, {45, 64}, {45, 102}};
    initAnonymousBitmap();
    if (g_pAnonymousImage64 == nullptr || g_pAnonymousImage64->GetWidth() == 0) {
        error = "cannot load .\\images\\defaultMAvtr.qim";
        return false;
    }
    const SIZE size = kSizes[options.size];
    CanvasDc canvas(size.cx, size.cy, options.canvas);
    if (options.selected) {
        DrawSelectedAnonymousAvatar(canvas.dc(), 0, 0, 0, options.size);
    } else {
        DrawAnonymousAvatar(canvas.dc(), 0, 0, options.size);
    }
    return WriteDcPng(options.out, canvas.dc(), error);
}

bool DrawAvatar(const PictureOptions& options, std::string& error) {
    CKvAvtr avatar;
    if (!avatar.CreateAnonymousAvatar(!options.female, options.half, 0, 0, options.tall)) {
        error = options.female ? "cannot load .\\images\\defaultWAvtr.qim"
                               : "cannot load .\\images\\defaultMAvtr.qim";
        return false;
    }
    return WriteAvatarPicture(avatar, options, error);
}

int Run(const Args& args) {
    PictureOptions options;
    std::string error;
    if (!ParsePictureOptions(
            args, {"--female", "--half", "--tall", "--selected", "--size", "--canvas", "--out"},
            options, error)) {
        Fail(kName, error);
        return UsageError(kName);
    }
    if (options.size >= 0 && (options.female || options.half || options.tall)) {
        Fail(kName, "--size paints the male picture at a fixed size: no --female, --half, --tall");
        return UsageError(kName);
    }
    InitAvatarDll();
    const bool ok = options.size >= 0 ? DrawAtSize(options, error) : DrawAvatar(options, error);
    DestroyAvatarDll();
    return ok ? 0 : Fail(kName, error);
}

const bool registered = RegisterCommand(
    {kName,
     "[--female] [--half] [--tall] [--selected] [--canvas 0xBBGGRR] --out OUT.png | --size 0..3 "
     "[--selected] [--canvas 0xBBGGRR] --out OUT.png",
     Run});

}  // namespace
}  // namespace kvcli
