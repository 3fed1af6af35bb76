#include "parts/leftover_temporaries.h"

#include <cstring>
#include <functional>

#include "avatar_id/ascii_case.h"
#include "parts/download_temp_name.h"
#include "platform/win32.h"

namespace {

using EntryVisitor = std::function<void(const std::string& path, bool folder)>;

// Every entry of folder but "." and "..".
void ForEachEntry(const std::string& folder, const EntryVisitor& visit) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0) {
            visit(folder + "\\" + entry.cFileName,
                  (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

void DeleteTemporariesIn(const std::string& folder) {
    ForEachEntry(folder, [](const std::string& path, bool isFolder) {
        if (!isFolder && IsDownloadTemporaryName(path.c_str())) {
            DeleteFileA(path.c_str());
        }
    });
}

bool IsComFolder(const std::string& path) {
    std::string name = path.substr(path.find_last_of('\\') + 1);
    avatar_id::LowerInPlace(name);
    return name == "com";
}

}  // namespace

void DeleteLeftoverTemporaries(const std::string& cacheRoot) {
    std::string root = cacheRoot;
    if (!root.empty() && root.back() == '\\') {
        root.pop_back();
    }
    ForEachEntry(root, [](const std::string& path, bool isFolder) {
        if (!isFolder) {
            return;
        }
        if (IsComFolder(path)) {
            ForEachEntry(path, [](const std::string& bucket, bool isBucket) {
                if (isBucket) {
                    DeleteTemporariesIn(bucket);
                }
            });
        } else {
            DeleteTemporariesIn(path);
        }
    });
}
