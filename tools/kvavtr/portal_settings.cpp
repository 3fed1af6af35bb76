#include "portal_settings.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/testing.h"
#include "platform/win32.h"

namespace kvcli {
namespace {

const char kPortalKey[] = "Software\\Veltrun.Com\\KOREAN";

std::string ReadValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPortalKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "";
    }
    char value[1024] = "";
    DWORD size = sizeof value;
    DWORD type = REG_SZ;
    const bool ok = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                     &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok ? std::string(value) : std::string();
}

}  // namespace

PortalSettings::~PortalSettings() {
    if (!m_file.empty()) {
        kvplatform::SetRegistryFile("");
        std::remove(m_file.c_str());
    }
}

bool PortalSettings::Apply(const std::string& home, const std::string& server, std::string& error) {
    if (home.empty() && server.empty()) {
        return true;
    }
    if (!home.empty() && !std::filesystem::is_directory(home)) {
        error = "home directory " + home + " is not a readable folder";
        return false;
    }
    const std::string values[][2] = {
        {"Home", home.empty() ? ReadValue("Home") : std::filesystem::absolute(home).string()},
        {"PartServer", server.empty() ? ReadValue("PartServer") : server},
        {"AvatarServer", server.empty() ? ReadValue("AvatarServer") : server},
    };
    char path[] = "/tmp/kvavtr-registry-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        error = "cannot create a registry file in /tmp";
        return false;
    }
    close(fd);
    m_file = path;
    std::ofstream file(m_file);
    file << "[" << kPortalKey << "]\n";
    for (const auto& [name, value] : values) {
        if (!value.empty()) {
            file << name << "=" << value << "\n";
        }
    }
    file.close();
    if (!file) {
        error = "cannot write " + m_file;
        return false;
    }
    kvplatform::SetRegistryFile(m_file);
    return true;
}

}  // namespace kvcli
