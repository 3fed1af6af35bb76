// Points the library at another portal home or image server for one run of the
// program, through a registry file of its own that keeps the user's other values.
#pragma once

#include <string>

namespace kvcli {

class PortalSettings {
public:
    PortalSettings() = default;
    PortalSettings(const PortalSettings&) = delete;
    PortalSettings& operator=(const PortalSettings&) = delete;
    // Restores the user's registry and removes the run's file.
    ~PortalSettings();

    // Empty arguments keep the registry's value. False with a reason in error.
    bool Apply(const std::string& home, const std::string& server, std::string& error);

private:
    std::string m_file;
};

}  // namespace kvcli
