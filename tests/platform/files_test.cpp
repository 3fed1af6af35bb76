// Files, folders, listings and the translation of Windows paths.
#include <gtest/gtest.h>
#include <unistd.h>

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
    // Disposition; then, on nothing and on a file "old": what is left (nullptr: no file).
    const std::tuple<DWORD, const char*, const char*> cases[] = {{CREATE_NEW, "", "old"},
                                                                 {CREATE_ALWAYS, "", ""},
                                                                 {OPEN_EXISTING, nullptr, "old"},
                                                                 {OPEN_ALWAYS, "", "old"},
                                                                 {TRUNCATE_EXISTING, nullptr, ""}};
    for (int i = 0; i < 10; ++i) {
        const auto& [disposition, onNothing, onFile] = cases[i / 2];
        const bool fileExists = i % 2 == 1;
        const char* contentAfter = fileExists ? onFile : onNothing;
        SCOPED_TRACE(std::to_string(disposition) + (fileExists ? " on a file" : " on nothing"));
        ScratchFolder folder;
        if (fileExists) {
            folder.Write("data.bin", "old");
        }
        HANDLE file = Open(folder / "DATA.BIN", GENERIC_READ | GENERIC_WRITE, disposition);
        // CREATE_NEW on a file fails, and so does opening nothing.
        EXPECT_EQ(file != INVALID_HANDLE_VALUE,
                  contentAfter && !(disposition == CREATE_NEW && fileExists));
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(file));
        }
        if (contentAfter) {
            EXPECT_EQ(ReadWhole(folder / "data.bin"), contentAfter);
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
    EXPECT_EQ(FindFirstFileA((folder.Path() + "\\none\\*.*").c_str(), &data), INVALID_HANDLE_VALUE);
}

// Runs from inside a fresh folder holding Avatar/com/Part.GIF and Avatar/Default.avt.
class Paths : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("Avatar/com/Part.GIF", "gif");
        folder.Write("Avatar/Default.avt", "avt");
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(folder.Path().c_str()), 0);
        home = std::filesystem::current_path().string();
    }
    void TearDown() override { EXPECT_EQ(chdir(previous), 0); }
    ScratchFolder folder;
    char previous[4096];
    std::string home;
};

TEST_F(Paths, TranslationResolvesSeparatorsAndCaseAsFarAsTheFoldersExist) {
    const struct {
        const char* windows;
        const char* posix;
    } cases[] = {
        {"\\\\Avatar\\\\\\com//Part.GIF", "/Avatar/com/Part.GIF"},
        {"\\avatar\\COM\\part.gif", "/Avatar/com/Part.GIF"},
        {"\\avatar\\", "/Avatar/"},
        // Below a missing component nothing is resolved.
        {"\\avatar\\missing\\PART.gif", "/Avatar/missing/PART.gif"},
        {"\\avatar\\.\\com\\..\\DEFAULT.AVT", "/Avatar/./com/../Default.avt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kvplatform::TranslatePath((home + c.windows).c_str()), home + c.posix)
            << c.windows;
    }
    EXPECT_EQ(kvplatform::TranslatePath(".\\AVATAR\\com\\part.gif"), "./Avatar/com/Part.GIF");
    EXPECT_EQ(kvplatform::TranslatePath("avatar\\default.avt"), "Avatar/Default.avt");
    EXPECT_EQ(kvplatform::TranslatePath(""), "");
}

TEST_F(Paths, NewFilesLandInTheExistingFolderUnderAnyCase) {
    HANDLE file = CreateFileA("avatar\\COM\\fresh.gif", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(std::filesystem::exists(folder / "Avatar/com/fresh.gif"));
    EXPECT_FALSE(std::filesystem::exists(folder / "avatar"));
    EXPECT_EQ(_access_s("AVATAR\\com\\FRESH.gif", 0), 0);
    EXPECT_EQ(_access_s("avatar\\g.gif", 0), ENOENT);
}

}  // namespace
