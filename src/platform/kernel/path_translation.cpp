#include "platform/kernel/path_translation.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <vector>

#include "platform/testing.h"

namespace kvplatform {
namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The matching entry of the folder, or empty. Among several matches the
// smallest name wins, so the choice does not depend on the listing order.
std::string FindEntryIgnoringCase(const std::string& folder, std::string_view name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
        return {};
    }
    std::string best;
    while (const dirent* entry = readdir(dir)) {
        if (EqualsIgnoreCase(entry->d_name, name) && (best.empty() || best > entry->d_name)) {
            best = entry->d_name;
        }
    }
    closedir(dir);
    return best;
}

std::vector<std::string_view> SplitComponents(std::string_view path) {
    std::vector<std::string_view> components;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            components.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return components;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string ToPosixSeparators(std::string_view windowsPath) {
    std::string path;
    path.reserve(windowsPath.size());
    for (const char c : windowsPath) {
        const char converted = c == '\\' ? '/' : c;
        if (converted != '/' || path.empty() || path.back() != '/') {
            path += converted;
        }
    }
    return path;
}

std::string ResolveCase(const std::string& posixPath) {
    // Most paths exist as written, or name a new file in a folder that does: one or
    // two lstat calls then, where a walk would take one per component.
    if (posixPath.find("//") == std::string::npos && Exists(posixPath)) {
        return posixPath;
    }
    const size_t slash = posixPath.find_last_of('/', posixPath.size() - 2);
    std::string resolved = !posixPath.empty() && posixPath[0] == '/' ? "/" : "";
    std::string_view rest = posixPath;
    if (slash != std::string::npos && slash > 0 && posixPath.find("//") == std::string::npos &&
        Exists(posixPath.substr(0, slash))) {
        resolved = posixPath.substr(0, slash);
        rest = std::string_view(posixPath).substr(slash + 1);
    }
    bool resolving = true;
    for (const std::string_view component : SplitComponents(rest)) {
        if (!resolved.empty() && resolved.back() != '/') {
            resolved += '/';
        }
        const std::string asWritten = resolved + std::string(component);
        if (resolving && component != "." && component != ".." && !Exists(asWritten)) {
            const std::string match = FindEntryIgnoringCase(resolved, component);
            if (!match.empty()) {
                resolved += match;
                continue;
            }
            // Nothing below a missing component can exist.
            resolving = false;
        }
        resolved = asWritten;
    }
    if (posixPath.size() > 1 && posixPath.back() == '/' && resolved.back() != '/') {
        resolved += '/';
    }
    return resolved;
}

std::string NormalizeDots(const std::string& absolutePosixPath) {
    std::vector<std::string_view> kept;
    for (const std::string_view component : SplitComponents(absolutePosixPath)) {
        if (component == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (component != ".") {
            kept.push_back(component);
        }
    }
    std::string normalized;
    for (const std::string_view component : kept) {
        normalized += '/';
        normalized += component;
    }
    if (normalized.empty() || absolutePosixPath.back() == '/') {
        normalized += '/';
    }
    return normalized;
}

std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string TranslatePath(const char* windowsPath) {
    return windowsPath ? ResolveCase(ToPosixSeparators(windowsPath)) : std::string();
}

}  // namespace kvplatform
