// Options of `kvavtr legacy` and `kvavtr anonymous`.
#pragma once

#include <set>
#include <string>

#include "command.h"

namespace kvcli {

struct PictureOptions {
    std::string code;
    bool half = false;
    bool tall = false;
    bool selected = false;
    bool image = false;
    bool female = false;
    int size = -1;  // -1: no --size
    std::string home;
    unsigned long canvas = 0x00FFFFFF;
    std::string out;
};

// Only the options named in `allowed` are accepted ("CODE" for the code argument).
// False with a one-line reason in error.
bool ParsePictureOptions(const Args& args, const std::set<std::string>& allowed,
                         PictureOptions& options, std::string& error);

}  // namespace kvcli
