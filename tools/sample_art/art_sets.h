// The three sets of the sample art, each written by its own file.
#pragma once

#include "art_writer.h"

namespace sampleart {

// Layered parts and com images on the server, the default images in the portal.
bool WriteLayeredArt(ArtWriter& server, ArtWriter& portal);
// Whole animated figures on the server.
bool WriteAnimatedAvatars(ArtWriter& server);
// Legacy sheets, their settings file and the question-mark pictures in the portal.
bool WriteLegacyArt(ArtWriter& portal);

}  // namespace sampleart
