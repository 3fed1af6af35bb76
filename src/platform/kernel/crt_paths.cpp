// The CRT's path helpers, over translated paths. There are no drive letters
// here, so a drive is always the empty string.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/kernel/path_translation.h"
#include "platform/testing.h"

errno_t _access_s(const char* path, int mode) {
    int how = F_OK;
    switch (mode) {
        case 0:
            break;
        case 2:
            how = W_OK;
            break;
        case 4:
            how = R_OK;
            break;
        case 6:
            how = R_OK | W_OK;
            break;
        default:
            return EINVAL;
    }
    if (!path) {
        return EINVAL;
    }
    std::string used;
    const int result = kvplatform::CallOnExistingPath(
        path, used, [how](const std::string& posixPath) { return access(posixPath.c_str(), how); });
    return result == 0 ? 0 : errno;
}

char* _fullpath(char* absPath, const char* relPath, size_t maxLength) {
    std::string path = relPath ? kvplatform::ToPosixSeparators(relPath) : std::string();
    if (path.empty() || path[0] != '/') {
        const std::string current = kvplatform::CurrentDirectory();
        if (current.empty()) {
            return nullptr;
        }
        path = path.empty() ? current : current + "/" + path;
    }
    path = kvplatform::ResolveCase(kvplatform::NormalizeDots(path));
    if (!absPath) {
        // As the CRT does: a buffer of MAX_PATH, whatever maxLength says.
        if (path.size() >= MAX_PATH) {
            errno = ERANGE;
            return nullptr;
        }
        absPath = static_cast<char*>(std::malloc(MAX_PATH));
        if (!absPath) {
            errno = ENOMEM;
            return nullptr;
        }
    } else if (path.size() >= maxLength) {
        errno = ERANGE;
        return nullptr;
    }
    std::memcpy(absPath, path.c_str(), path.size() + 1);
    return absPath;
}

namespace {

struct OutputPart {
    char* buffer;
    size_t size;
    std::string_view value;
};

}  // namespace

errno_t _splitpath_s(const char* path, char* drive, size_t driveNumberOfElements, char* dir,
                     size_t dirNumberOfElements, char* fname, size_t nameNumberOfElements,
                     char* ext, size_t extNumberOfElements) {
    OutputPart parts[] = {{drive, driveNumberOfElements, {}},
                          {dir, dirNumberOfElements, {}},
                          {fname, nameNumberOfElements, {}},
                          {ext, extNumberOfElements, {}}};
    bool valid = path != nullptr;
    for (const OutputPart& part : parts) {
        valid = valid && (part.buffer == nullptr) == (part.size == 0);
    }
    if (!valid) {
        for (const OutputPart& part : parts) {
            if (part.buffer && part.size > 0) {
                part.buffer[0] = '\0';
            }
        }
        errno = EINVAL;
        return EINVAL;
    }

    const std::string translated = kvplatform::TranslatePath(path);
    const std::string_view whole = translated;
    const size_t nameStart = whole.find_last_of('/') + 1;  // 0 when there is no '/'
    const std::string_view leaf = whole.substr(nameStart);
    const size_t dot = leaf.find_last_of('.');
    parts[1].value = whole.substr(0, nameStart);
    parts[2].value = leaf.substr(0, dot);
    parts[3].value = dot == std::string_view::npos ? std::string_view() : leaf.substr(dot);

    for (const OutputPart& part : parts) {
        if (part.buffer && part.value.size() >= part.size) {
            // As the CRT does: one part too long empties every part.
            for (const OutputPart& other : parts) {
                if (other.buffer) {
                    other.buffer[0] = '\0';
                }
            }
            errno = ERANGE;
            return ERANGE;
        }
    }
    for (const OutputPart& part : parts) {
        if (part.buffer) {
            part.value.copy(part.buffer, part.value.size());
            part.buffer[part.value.size()] = '\0';
        }
    }
    return 0;
}
