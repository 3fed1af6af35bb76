#include <gtest/gtest.h>

#include <vector>

#include "platform/testing.h"
#include "platform/whole_file.h"
#include "scratch_folder.h"

namespace {

HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Files, WholeFileReadsEverythingOrNothing) {
    ScratchFolder folder;
    const std::string big(300000, 'x');
    folder.Write("big", big);
    folder.Write("empty", "");
    const kvplatform::WholeFile whole((folder / "big").c_str(), FILE_SHARE_READ, big.size());
    ASSERT_TRUE(whole.Read());
    EXPECT_EQ(big, std::string(reinterpret_cast<const char*>(whole.Bytes()), whole.Size()));
    EXPECT_TRUE(kvplatform::WholeFile((folder / "empty").c_str(), FILE_SHARE_READ, 0).Read());
    EXPECT_FALSE(
        kvplatform::WholeFile((folder / "big").c_str(), FILE_SHARE_READ, big.size() - 1).Read());
    EXPECT_FALSE(kvplatform::WholeFile((folder / "none").c_str(), FILE_SHARE_READ, 10).Read());
    EXPECT_FALSE(kvplatform::WholeFile(nullptr, FILE_SHARE_READ, 10).Read());
}

TEST(Files, CreateDispositionsFollowWindows) {
    const struct {
        const char* name;
        DWORD disposition;
        bool fileExists;
        bool opens;
        DWORD lastError;
        const char* contentAfter;  // nullptr: no file
    } cases[] = {
        {"CREATE_NEW", CREATE_NEW, false, true, ERROR_SUCCESS, ""},
        {"CREATE_NEW", CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        {"CREATE_ALWAYS", CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {"CREATE_ALWAYS", CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {"OPEN_EXISTING", OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"OPEN_EXISTING", OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
        {"OPEN_ALWAYS", OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {"OPEN_ALWAYS", OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {"TRUNCATE_EXISTING", TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"TRUNCATE_EXISTING", TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.fileExists ? " on a file" : " on nothing"));
        ScratchFolder folder;
        if (c.fileExists) {
            folder.Write("data.bin", "old");
        }
        HANDLE file = Open(folder / "DATA.BIN", GENERIC_READ | GENERIC_WRITE, c.disposition);
        EXPECT_EQ(GetLastError(), c.lastError);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(file));
        }
        if (c.contentAfter) {
            EXPECT_EQ(ReadWhole(folder / "data.bin"), c.contentAfter);
        } else {
            EXPECT_FALSE(std::filesystem::exists(folder / "data.bin"));
        }
    }
}

TEST(Files, ReadsAndWritesOnlyWithTheirAccess) {
    ScratchFolder folder;
    HANDLE file = Open(folder / "f.bin", GENERIC_WRITE, CREATE_NEW);
    DWORD count = 0;
    EXPECT_TRUE(WriteFile(file, "abcdef", 6, &count, nullptr));
    EXPECT_EQ(count, 6u);
    char buffer[16];
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(GetFileSize(file, nullptr), 6u);
    EXPECT_TRUE(CloseHandle(file));

    file = Open(folder / "f.bin", GENERIC_READ, OPEN_EXISTING);
    EXPECT_TRUE(ReadFile(file, buffer, 4, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "abcd");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "ef");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));  // at the end: nothing
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(WriteFile(file, "x", 1, &count, nullptr));
    EXPECT_TRUE(CloseHandle(file));
}

TEST(Files, StaleAndMadeUpHandlesFail) {
    ScratchFolder folder;
    HANDLE file = Open(folder / "f.bin", GENERIC_WRITE, CREATE_NEW);
    EXPECT_TRUE(CloseHandle(file));
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int onStack = 0;
    for (HANDLE bad : {file, INVALID_HANDLE_VALUE, static_cast<HANDLE>(nullptr),
                       static_cast<HANDLE>(&onStack), event}) {
        DWORD count = 0;
        EXPECT_FALSE(WriteFile(bad, "x", 1, &count, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
    }
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_FALSE(FindClose(event));  // a find handle is closed only by FindClose, and vice versa
    EXPECT_TRUE(CloseHandle(event));
}

TEST(Files, FoldersAndDeletionReportWindowsErrors) {
    ScratchFolder folder;
    const std::string sub = folder.Path() + "\\Sub";
    EXPECT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA((folder.Path() + "\\SUB").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(Open(folder / "none/f.bin", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open(sub, GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    folder.Write("Sub/f.txt", "x");
    EXPECT_EQ(GetFileAttributesA((sub + "\\F.TXT").c_str()), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(RemoveDirectoryA(sub.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(DeleteFileA((sub + "\\F.txt").c_str()));
    EXPECT_FALSE(DeleteFileA((sub + "\\F.txt").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(RemoveDirectoryA((folder.Path() + "\\sub").c_str()));
}

TEST(Files, MoveReplacesOnlyWhenAsked) {
    ScratchFolder folder;
    folder.Write("new.tmp", "new");
    folder.Write("Part.gif", "old");
    const std::string from = folder / "new.tmp";
    const std::string to = folder / "part.GIF";
    EXPECT_FALSE(MoveFileExA(from.c_str(), to.c_str(), 0));
    EXPECT_TRUE(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadWhole(folder / "Part.gif"), "new");
    EXPECT_FALSE(std::filesystem::exists(from));
}

// Names found, "/" marking folders.
std::vector<std::string> List(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        names.push_back(data.cFileName + std::string(folder ? "/" : ""));
    } while (FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    return names;
}

TEST(Find, ListsDotsFirstThenNamesWithoutRegardToCase) {
    ScratchFolder folder;
    folder.Write("Cache/b.gif", "bb");
    folder.Write("Cache/A.GIF", "a");
    folder.Write("Cache/readme", "text");
    folder.Write("Cache/3/x.gif", "");
    const std::string cache = folder.Path() + "\\cache\\";
    using Names = std::vector<std::string>;
    EXPECT_EQ(List(cache + "*.*"), (Names{"./", "../", "3/", "A.GIF", "b.gif", "readme"}));
    EXPECT_EQ(List(cache + "?.GIF"), (Names{"A.GIF", "b.gif"}));
    EXPECT_EQ(List(cache + "READ*"), Names{"readme"});

    WIN32_FIND_DATAA data;
    EXPECT_EQ(FindFirstFileA((cache + "*.bmp").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFileA((folder.Path() + "\\none\\*.*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    // Entries deleted during the walk do not disturb it.
    HANDLE find = FindFirstFileA((cache + "*.*").c_str(), &data);
    int found = 1;
    while (FindNextFileA(find, &data)) {
        ++found;
        DeleteFileA((cache + data.cFileName).c_str());
    }
    EXPECT_TRUE(FindClose(find));
    EXPECT_EQ(found, 6);
    EXPECT_FALSE(FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
