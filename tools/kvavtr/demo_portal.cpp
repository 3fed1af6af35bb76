#include "demo_portal.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/testing.h"
#include "sample_art/portal.h"

namespace kvcli {

namespace fs = std::filesystem;

namespace {

const char* const kServerFolder = "server";
// Everything a run puts into its folder; nothing else there is touched.
const char* const kRunEntries[] = {"Avatar",   "images",       "common",
                                   "server",   "registry.ini", "demo.png",
                                   "demo.gif", "index.html",   "library.log"};

}  // namespace

bool BuildPortal(const fs::path& dir, std::string& error) {
    std::error_code code;
    fs::create_directories(dir, code);
    for (const char* entry : kRunEntries) {
        fs::remove_all(dir / entry, code);
        if (code) {
            error = "cannot remove " + (dir / entry).string() + ": " + code.message();
            return false;
        }
    }
    std::vector<std::string> written;
    return sampleart::WritePortal(dir / kServerFolder, dir, written, error);
}

bool ServePortal(loopback::HttpServer& server, const fs::path& dir, std::string& error) {
    const fs::path root = dir / kServerFolder;
    std::error_code code;
    for (fs::recursive_directory_iterator it(root, code), end; !code && it != end;
         it.increment(code)) {
        if (!it->is_regular_file(code)) {
            continue;
        }
        std::ifstream file(it->path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (!file) {
            error = "cannot read " + it->path().string();
            return false;
        }
        server.SetFile("/" + fs::relative(it->path(), root).generic_string(), std::move(bytes));
    }
    if (code) {
        error = "cannot list " + root.string() + ": " + code.message();
    }
    return !code;
}

bool UsePortalRegistry(const fs::path& dir, const std::string& hostPort, std::string& error) {
    const fs::path path = dir / "registry.ini";
    std::ofstream file(path);
    file << "[Software\\Veltrun.Com\\KOREAN]\nHome=" << dir.string() << "\nPartServer=" << hostPort
         << "\nAvatarServer=" << hostPort << "\n";
    file.close();
    if (!file) {
        error = "cannot write " + path.string();
        return false;
    }
    kvplatform::SetRegistryFile(path.string());
    return true;
}

}  // namespace kvcli
