// Windows paths to POSIX paths. kvplatform::TranslatePath (platform/testing.h)
// is the whole translation; the steps are here for the layer's own calls.
#pragma once

#include <cerrno>
#include <string>
#include <string_view>
#include <utility>

namespace kvplatform {

// '\' becomes '/' and runs of separators collapse to one.
std::string ToPosixSeparators(std::string_view windowsPath);

// Each component that does not exist as written is replaced by the entry of its
// folder that matches it without regard to case; the rest stays as written.
std::string ResolveCase(const std::string& posixPath);

// ResolveCase for a path already known not to exist as written.
std::string ResolveMissing(const std::string& posixPath);

// Calls `call`, a POSIX call on a path (-1 and errno on failure), with the path
// as written and, when nothing is there, once more with the path resolved by
// case; `path` is the one used last. A path that exists as written, the common
// case, thus costs no look-up beyond the call itself. Not for calls that create
// what they name: those would create it under the case as written.
template <typename Call>
int CallOnExistingPath(const char* windowsPath, std::string& path, Call call) {
    path = ToPosixSeparators(windowsPath);
    const int result = call(path);
    if (result != -1 || (errno != ENOENT && errno != ENOTDIR)) {
        return result;
    }
    const int error = errno;
    std::string resolved = ResolveMissing(path);
    if (resolved == path) {
        errno = error;
        return result;
    }
    path = std::move(resolved);
    return call(path);
}

// "." and ".." removed by text alone, as Windows resolves full paths.
std::string NormalizeDots(const std::string& absolutePosixPath);

// The process's current directory; empty when it cannot be read.
std::string CurrentDirectory();

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace kvplatform
