// The sample art of one complete portal: what its servers hold and what its
// installation folder holds.
//   SERVER/avgif/<type>/<part>.gif        layered parts, as the part server holds them
//   SERVER/IMG_AVTR/<prefix>_<ID>.GIF     whole-avatar (com) images and animated avatars
//   PORTAL/common/images/<prefix>_<ID>.gif the default avatars' images
//   PORTAL/Avatar/Avatar3.ini, *.avt      legacy sheets, zenhap1.avt, default.avt
//   PORTAL/images/default{M,W}Avtr.qim    the question-mark pictures
//   PORTAL/images/stage.bmp               a background picture for layered avatars
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sampleart {

// Players with animated avatars, in every kind, size and variant.
extern const char* const kAnimatedPlayers[3];

// False with the reason in error; written lists every file made.
bool WritePortal(const std::filesystem::path& server, const std::filesystem::path& portal,
                 std::vector<std::string>& written, std::string& error);

}  // namespace sampleart
