// kvavtr legacy: composes a legacy avatar code from the sheets below the portal home
// (and .\Avatar for the fixed sheets) and writes it as PNG.
#include <string>

#include "avatar_picture.h"
#include "command.h"
#include "legacy/kv_avtr.h"
#include "legacy/legacy_tables.h"
#include "portal_settings.h"

namespace kvcli {
namespace {

constexpr const char* kName = "legacy";

int Run(const Args& args) {
    PictureOptions options;
    std::string error;
    if (!ParsePictureOptions(
            args,
            {"CODE", "--half", "--tall", "--selected", "--image", "--home", "--canvas", "--out"},
            options, error)) {
        Fail(kName, error);
        return UsageError(kName);
    }
    if (options.image && (options.selected || options.canvas != 0x00FFFFFF)) {
        Fail(kName, "--image writes the picture itself: no --selected or --canvas");
        return UsageError(kName);
    }
    PortalSettings settings;
    if (!settings.Apply(options.home, "", error)) {
        return Fail(kName, error);
    }
    CKvAvtr avatar;
    const int created = avatar.Create(options.code.c_str(), options.half, 0, 0, options.tall);
    if (!g_bMeInitDone) {
        return Fail(kName,
                    "cannot load the legacy sheets (Avatar3.ini and .avt files below the portal "
                    "home's Avatar folder, .\\Avatar\\zenhap1.avt and .\\Avatar\\default.avt)");
    }
    if (!created) {
        return Fail(kName, "code " + options.code +
                               " refused: its set (7th character) must be 1 or 2, and with face "
                               "A or B its 6th character 1 to 3");
    }
    return WriteAvatarPicture(avatar, options, error) ? 0 : Fail(kName, error);
}

const bool registered = RegisterCommand(
    {kName,
     "CODE [--half] [--tall] [--selected] [--home DIR] [--canvas 0xBBGGRR] --out OUT.png | "
     "--image CODE [--half] [--tall] [--home DIR] --out OUT.png",
     Run});

}  // namespace
}  // namespace kvcli
