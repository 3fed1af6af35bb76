// Output shared by `kvavtr legacy` and `kvavtr anonymous`.
#pragma once

#include <string>

#include "picture_options.h"

class CKvAvtr;

namespace kvcli {

// With --image the composed picture itself; otherwise a DC of the avatar's draw
// size filled with the canvas colour, the avatar drawn at (0, 0), plainly or
// selected. False with a reason in error.
bool WriteAvatarPicture(CKvAvtr& avatar, const PictureOptions& options, std::string& error);

// Prints "kvavtr NAME: ERROR" to stderr and returns 1.
int Fail(const char* name, const std::string& error);

}  // namespace kvcli
