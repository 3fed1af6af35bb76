#include "platform/kernel/path_translation.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>
#include <vector>

#include "platform/testing.h"

namespace kvplatform {
namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The matching entry of the folder, empty when none matches, nothing when the
// folder cannot be listed. An entry named exactly so wins; among several other
// matches the smallest name wins, so the choice does not depend on the listing order.
// Read with getdents64 rather than readdir: this runs for every new file's name,
// and opendir adds an fstat and a heap buffer to each listing.
std::optional<std::string> FindEntryIgnoringCase(const std::string& folder, std::string_view name) {
    const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    alignas(dirent64) char entries[16384];
    std::string best;
    bool exact = false;
    ssize_t size;
    while (!exact && (size = getdents64(fd, entries, sizeof(entries))) > 0) {
        for (ssize_t offset = 0; offset < size;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + offset);
            offset += entry->d_reclen;
            if (entry->d_name == name) {
                best = entry->d_name;
                exact = true;
                break;
            }
            if (EqualsIgnoreCase(entry->d_name, name) && (best.empty() || best > entry->d_name)) {
                best = entry->d_name;
            }
        }
    }
    close(fd);
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

namespace {

// Every component from the first, each looked up as written and else by case.
std::string ResolveByComponents(const std::string& posixPath) {
    std::string resolved = !posixPath.empty() && posixPath[0] == '/' ? "/" : "";
    bool resolving = true;
    for (const std::string_view component : SplitComponents(posixPath)) {
        if (!resolved.empty() && resolved.back() != '/') {
            resolved += '/';
        }
        const std::string asWritten = resolved + std::string(component);
        if (resolving && component != "." && component != ".." && !Exists(asWritten)) {
            const std::string match = FindEntryIgnoringCase(resolved, component).value_or("");
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

}  // namespace

std::string ResolveCase(const std::string& posixPath) {
    if (posixPath.find("//") == std::string::npos && Exists(posixPath)) {
        return posixPath;
    }
    return ResolveMissing(posixPath);
}

std::string ResolveMissing(const std::string& posixPath) {
    // A missing path mostly names a new file in a folder that exists as written:
    // one listing of that folder then, where a walk looks up every component.
    const bool trailingSlash = posixPath.size() > 1 && posixPath.back() == '/';
    const std::string_view path =
        std::string_view(posixPath).substr(0, posixPath.size() - (trailingSlash ? 1 : 0));
    const size_t slash = path.find_last_of('/');
    if (posixPath.find("//") == std::string::npos && slash != std::string_view::npos && slash > 0) {
        const std::string_view name = path.substr(slash + 1);
        const std::string folder(path.substr(0, slash));
        const std::optional<std::string> match =
            name == "." || name == ".." ? std::nullopt : FindEntryIgnoringCase(folder, name);
        if (match) {
            return match->empty() ? posixPath : folder + '/' + *match + (trailingSlash ? "/" : "");
        }
    }
    return ResolveByComponents(posixPath);
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
