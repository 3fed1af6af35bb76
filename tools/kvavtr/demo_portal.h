// The demo's portal: a folder that is the portal's home and installation at once,
// the sample art that its servers hold, and the registry file that ties them.
#pragma once

#include <filesystem>
#include <string>

#include "loopback_http/http_server.h"

namespace kvcli {

// Removes what an earlier run left in dir, then writes the installation into dir
// and the servers' files into dir/server. False with the reason in error.
bool BuildPortal(const std::filesystem::path& dir, std::string& error);

// Serves every file below dir/server at its path relative to that folder.
bool ServePortal(loopback::HttpServer& server, const std::filesystem::path& dir,
                 std::string& error);

// Writes dir/registry.ini (home dir, both image servers at hostPort) and makes it
// the library's registry.
bool UsePortalRegistry(const std::filesystem::path& dir, const std::string& hostPort,
                       std::string& error);

}  // namespace kvcli
