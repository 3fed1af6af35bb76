#include "portal.h"

#include "art_sets.h"

namespace sampleart {

bool WritePortal(const std::filesystem::path& out, std::vector<std::string>& written,
                 std::string& error) {
    ArtWriter server(out / kServerFolder);
    ArtWriter portal(out / kPortalFolder);
    const bool ok =
        WriteLayeredArt(server, portal) && WriteAnimatedAvatars(server) && WriteLegacyArt(portal);
    for (const ArtWriter* writer : {&server, &portal}) {
        written.insert(written.end(), writer->written().begin(), writer->written().end());
        if (!writer->error().empty()) {
            error = writer->error();
        }
    }
    return ok;
}

}  // namespace sampleart
