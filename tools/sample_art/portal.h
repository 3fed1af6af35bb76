// The sample art of one complete portal, as one run writes it below OUT:
//   OUT/server/avgif/<type>/<part>.gif        layered parts, as the part server holds them
//   OUT/server/IMG_AVTR/<prefix>_<ID>.GIF     whole-avatar (com) images and animated avatars
//   OUT/portal/common/images/<prefix>_<ID>.gif the default avatars' images
//   OUT/portal/Avatar/Avatar3.ini, *.avt      legacy sheets, zenhap1.avt, default.avt
//   OUT/portal/images/default{M,W}Avtr.qim    the question-mark pictures
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sampleart {

constexpr const char* kServerFolder = "server";
constexpr const char* kPortalFolder = "portal";

// Players with animated avatars, in every kind, size and variant.
extern const char* const kAnimatedPlayers[3];

// False with the reason in error; written lists every file made.
bool WritePortal(const std::filesystem::path& out, std::vector<std::string>& written,
                 std::string& error);

}  // namespace sampleart
