#include "parts/download_temp_name.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <random>

#include "avatar_id/ascii_case.h"

const char kDownloadTemporarySuffix[] = ".kvdltmp";

namespace {

// Distinguishes this process's temporaries from another process's using the
// same cache; the counter distinguishes the threads of this one.
unsigned ProcessSalt() {
    static const unsigned salt = std::random_device{}();
    return salt;
}

}  // namespace

bool IsDownloadTemporaryName(const char* fileName) {
    const size_t suffixLength = sizeof(kDownloadTemporarySuffix) - 1;
    const size_t length = std::strlen(fileName);
    if (length <= suffixLength) {
        return false;
    }
    const char* tail = fileName + length - suffixLength;
    for (size_t i = 0; i < suffixLength; ++i) {
        if (avatar_id::ToLowerAscii(tail[i]) != kDownloadTemporarySuffix[i]) {
            return false;
        }
    }
    return true;
}

std::string MakeDownloadTemporaryPath(const std::string& finalPath) {
    static std::atomic<unsigned> counter{0};
    char unique[2 * 8 + 2];
    std::snprintf(unique, sizeof(unique), ".%08x%x", ProcessSalt(), counter.fetch_add(1));
    return finalPath + unique + kDownloadTemporarySuffix;
}
