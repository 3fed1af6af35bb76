// Files, folders, listings and the translation of Windows paths.
#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>
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
    const auto file = [&](const char* name, size_t size) {
        return kvplatform::WholeFile(name ? (folder / name).c_str() : nullptr, FILE_SHARE_READ,
                                     size);
    };
    const kvplatform::WholeFile whole = file("big", big.size());
    ASSERT_TRUE(whole.Read());
    EXPECT_EQ(big, std::string(reinterpret_cast<const char*>(whole.Bytes()), whole.Size()));
    EXPECT_TRUE(file("empty", 0).Read());
    EXPECT_FALSE(file("big", big.size() - 1).Read());
    EXPECT_FALSE(file("none", 10).Read());
    EXPECT_FALSE(file(nullptr, 10).Read());
}

TEST(Files, CreateDispositionsFollowWindows) {
    // Disposition; then, on nothing and on a file "old": what is left (nullptr: no file).
    const std::tuple<DWORD, const char*, const char*> cases[] = {{CREATE_NEW, "", "old"},
                                                                 {CREATE_ALWAYS, "", ""},
                                                                 {OPEN_EXISTING, nullptr, "old"},
                                                                 {OPEN_ALWAYS, "", "old"},
                                                                 {TRUNCATE_EXISTING, nullptr, ""}};
    for (const auto& [disposition, onNothing, onFile] : cases) {
        for (const bool exists : {false, true}) {
            const char* after = exists ? onFile : onNothing;
            SCOPED_TRACE(std::to_string(disposition) + (exists ? " on a file" : " on nothing"));
            ScratchFolder folder;
            if (exists) {
                folder.Write("data.bin", "old");
            }
            HANDLE file = Open(folder / "DATA.BIN", GENERIC_READ | GENERIC_WRITE, disposition);
            // CREATE_NEW on a file fails, and so does opening nothing.
            const bool opens = after && !(disposition == CREATE_NEW && exists);
            EXPECT_EQ(file != INVALID_HANDLE_VALUE && CloseHandle(file), opens);
            EXPECT_EQ(_access_s((folder / "data.bin").c_str(), 0) == 0, after != nullptr);
            EXPECT_EQ(ReadWhole(folder / "data.bin"), after ? after : "");
        }
    }
}

TEST(Files, ReadsAndWritesOnlyWithTheirAccess) {
    ScratchFolder folder;
    HANDLE file = Open(folder / "f.bin", GENERIC_WRITE, CREATE_NEW);
    DWORD count = 0;
    char buffer[16];
    EXPECT_TRUE(WriteFile(file, "abcdef", 6, &count, nullptr));
    EXPECT_EQ(count, 6u);
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetFileSize(file, nullptr), 6u);
    EXPECT_TRUE(CloseHandle(file));
    file = Open(folder / "f.bin", GENERIC_READ, OPEN_EXISTING);
    for (const auto& [size, expected] :
         {std::pair<DWORD, std::string>{4, "abcd"}, {16, "ef"}, {16, ""}}) {  // at the end: nothing
        EXPECT_TRUE(ReadFile(file, buffer, size, &count, nullptr));
        EXPECT_EQ(std::string(buffer, count), expected);
    }
    EXPECT_FALSE(WriteFile(file, "x", 1, &count, nullptr));
    EXPECT_TRUE(CloseHandle(file));
}

TEST(Files, StaleAndMadeUpHandlesFail) {
    ScratchFolder folder;
    HANDLE file = Open(folder / "f.bin", GENERIC_WRITE, CREATE_NEW);
    EXPECT_TRUE(CloseHandle(file));
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int onStack = 0;
    for (HANDLE bad : {file, INVALID_HANDLE_VALUE, HANDLE{}, HANDLE(&onStack), event}) {
        DWORD count = 0;
        EXPECT_FALSE(WriteFile(bad, "x", 1, &count, nullptr));
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
    }
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_FALSE(FindClose(event));  // a find handle is closed only by FindClose, and vice versa
    EXPECT_TRUE(CloseHandle(event));
}

TEST(Files, MoveReplacesOnlyWhenAsked) {
    ScratchFolder folder;
    folder.Write("new.tmp", "new");
    folder.Write("Part.gif", "old");
    const std::string from = folder / "new.tmp", to = folder / "part.GIF";
    EXPECT_FALSE(MoveFileExA(from.c_str(), to.c_str(), 0));
    EXPECT_TRUE(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadWhole(folder / "Part.gif"), "new");
    EXPECT_FALSE(std::filesystem::exists(from));
}

// Names found, "/" marking folders; none when nothing matches.
std::vector<std::string> List(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data)) {
        const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        names.push_back(data.cFileName + std::string(folder ? "/" : ""));
    }
    EXPECT_EQ(find != INVALID_HANDLE_VALUE && FindClose(find), !names.empty());
    return names;
}

TEST(Find, ListsDotsFirstThenNamesWithoutRegardToCase) {
    ScratchFolder folder;
    for (const char* name : {"Cache/b.gif", "Cache/A.GIF", "Cache/readme", "Cache/3/x.gif"}) {
        folder.Write(name, "");
    }
    const std::string cache = folder.Path() + "\\cache\\";
    using Names = std::vector<std::string>;
    EXPECT_EQ(List(cache + "*.*"), (Names{"./", "../", "3/", "A.GIF", "b.gif", "readme"}));
    EXPECT_EQ(List(cache + "?.GIF"), (Names{"A.GIF", "b.gif"}));
    EXPECT_EQ(List(cache + "READ*"), Names{"readme"});
    EXPECT_EQ(List(cache + "*.bmp"), Names{});
    EXPECT_EQ(List(folder.Path() + "\\none\\*.*"), Names{});
}

// From inside a fresh folder holding Avatar/com/Part.GIF and Avatar/Default.avt.
TEST(Paths, ResolveSeparatorsAndCaseAsFarAsTheFoldersExist) {
    ScratchFolder folder;
    folder.Write("Avatar/com/Part.GIF", "gif");
    folder.Write("Avatar/Default.avt", "avt");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const std::string home = std::filesystem::current_path().string();
    const std::pair<std::string, const char*> cases[] = {
        {home + "\\\\Avatar\\\\\\com//Part.GIF", "/Avatar/com/Part.GIF"},
        {home + "\\avatar\\COM\\part.gif", "/Avatar/com/Part.GIF"},
        {home + "\\avatar\\", "/Avatar/"},
        {home + "\\avatar\\missing\\PART.gif", "/Avatar/missing/PART.gif"},  // nothing below
        {home + "\\avatar\\.\\com\\..\\DEFAULT.AVT", "/Avatar/./com/../Default.avt"},
        {".\\AVATAR\\com\\part.gif", "./Avatar/com/Part.GIF"},
        {"avatar\\default.avt", "Avatar/Default.avt"},
        {"", ""}};
    for (const auto& [windows, posix] : cases) {
        EXPECT_EQ(kvplatform::TranslatePath(windows.c_str()),
                  (windows.starts_with(home) ? home : "") + posix)
            << windows;
    }
    // New files land in the existing folder under any case.
    HANDLE file = Open("avatar\\COM\\fresh.gif", GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(std::filesystem::exists(folder / "Avatar/com/fresh.gif"));
    EXPECT_FALSE(std::filesystem::exists(folder / "avatar"));
    EXPECT_EQ(_access_s("AVATAR\\com\\FRESH.gif", 0), 0);
    EXPECT_EQ(_access_s("avatar\\g.gif", 0), ENOENT);
    std::filesystem::current_path(previous);
}

// What a call that names an existing file reads through it: its content, or the
// Windows error; each call tries the name as written first, then by case.
std::string ReadThrough(const std::string& path) {
    HANDLE file = Open(path, GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        return "error " + std::to_string(GetLastError());
    }
    char buffer[16];
    DWORD count = 0;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_TRUE(CloseHandle(file));
    return std::string(buffer, count);
}

TEST(Paths, CallsOnExistingFilesFindThemUnderAnyCase) {
    ScratchFolder folder;
    folder.Write("Avatar/com/Part.GIF", "part");
    folder.Write("Avatar/lc/x.gif", "lower");
    folder.Write("Avatar/lc/X.GIF", "upper");
    const std::string notFound = "error " + std::to_string(ERROR_FILE_NOT_FOUND);
    const std::string noFolder = "error " + std::to_string(ERROR_PATH_NOT_FOUND);
    // An entry named exactly wins; among other matches the smallest name.
    const std::pair<const char*, std::string> cases[] = {
        {"Avatar\\\\com\\Part.GIF", "part"}, {"Avatar\\com\\PART.gif", "part"},
        {"avatar\\COM\\part.gif", "part"},   {"Avatar\\lc\\x.gif", "lower"},
        {"AVATAR\\lc\\X.GIF", "upper"},      {"Avatar\\lc\\x.GIF", "upper"},
        {"Avatar\\com\\none.gif", notFound}, {"Avatar\\none\\part.gif", noFolder}};
    for (const auto& [relative, content] : cases) {
        const std::string path = folder.Path() + "\\" + relative;
        SCOPED_TRACE(relative);
        EXPECT_EQ(ReadThrough(path), content);
        const bool found = !content.starts_with("error");
        EXPECT_EQ(_access_s(path.c_str(), 0), found ? 0 : ENOENT);
        EXPECT_EQ(GetFileAttributesA(path.c_str()) == FILE_ATTRIBUTE_NORMAL, found);
        const std::string parent = path.substr(0, path.rfind('\\'));
        EXPECT_EQ(PathIsDirectoryA(parent.c_str()) != FALSE, content != noFolder);
    }
    // Folders do not open as files, for reading or writing.
    for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}}) {
        EXPECT_EQ(Open(folder.Path() + "\\avatar\\LC", access, OPEN_EXISTING),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    }
    const std::string moved = folder.Path() + "\\avatar\\com\\moved.gif";
    EXPECT_TRUE(MoveFileExA((folder.Path() + "\\AVATAR\\com\\part.gif").c_str(), moved.c_str(), 0));
    EXPECT_EQ(ReadWhole(folder / "Avatar/com/moved.gif"), "part");
    EXPECT_TRUE(DeleteFileA((folder.Path() + "\\avatar\\COM\\MOVED.GIF").c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder / "Avatar/com/moved.gif"));
}

}  // namespace
