// Windows paths to POSIX paths. kvplatform::TranslatePath (platform/testing.h)
// is the whole translation; the steps are here for the CRT path helpers.
#pragma once

#include <string>
#include <string_view>

namespace kvplatform {

// '\' becomes '/' and runs of separators collapse to one.
std::string ToPosixSeparators(std::string_view windowsPath);

// Each component that does not exist as written is replaced by the entry of its
// folder that matches it without regard to case; the rest stays as written.
std::string ResolveCase(const std::string& posixPath);

// "." and ".." removed by text alone, as Windows resolves full paths.
std::string NormalizeDots(const std::string& absolutePosixPath);

// The process's current directory; empty when it cannot be read.
std::string CurrentDirectory();

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace kvplatform
