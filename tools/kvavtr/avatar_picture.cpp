#include "avatar_picture.h"

#include <cstdio>

#include "canvas_dc.h"
#include "legacy/kv_avtr.h"
#include "png_out.h"

namespace kvcli {

bool WriteAvatarPicture(CKvAvtr& avatar, const PictureOptions& options, std::string& error) {
    if (options.image) {
        return WriteImagePng(options.out, avatar.GetImage(), error);
    }
    CanvasDc canvas(avatar.GetDrawWidth(), avatar.GetDrawHeight(), options.canvas);
    if (options.selected) {
        avatar.DrawSelected(canvas.dc(), 0, 0, 0, 0);
    } else {
        avatar.Draw(canvas.dc(), 0, 0, 0);
    }
    return WriteDcPng(options.out, canvas.dc(), error);
}

int Fail(const char* name, const std::string& error) {
    std::fprintf(stderr, "kvavtr %s: %s\n", name, error.c_str());
    return 1;
}

}  // namespace kvcli
