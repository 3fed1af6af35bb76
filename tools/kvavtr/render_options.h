// Options of `kvavtr render`.
#pragma once

#include <optional>
#include <string>

#include "command.h"
#include "platform/win32.h"

namespace kvcli {

struct RenderOptions {
    std::string id;
    bool com = false;
    bool block = false;
    bool small = false;
    bool fullHeight = false;
    bool box = true;
    std::optional<RECT> rect;
    unsigned long background = 0x00FFFFFF;
    std::string backgroundImage;
    bool transparent = false;
    char sex = 'M';
    std::string home;
    std::string server;
    int waitMs = 5000;
    std::string out;
    unsigned long canvas = 0x00FFFFFF;
    int frames = 1;
    int intervalMs = 100;
};

// False with a one-line reason in error for anything that does not parse.
bool ParseRenderOptions(const Args& args, RenderOptions& options, std::string& error);

}  // namespace kvcli
