#include "portal.h"

#include "art_sets.h"

namespace sampleart {

bool WritePortal(const std::filesystem::path& serverFolder,
                 const std::filesystem::path& portalFolder, std::vector<std::string>& written,
                 std::string& error) {
    ArtWriter server(serverFolder);
    ArtWriter portal(portalFolder);
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
