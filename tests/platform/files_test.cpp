#include <gtest/gtest.h>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct DispositionCase {
    DWORD disposition;
    bool fileExists;
    bool opens;
    DWORD lastError;           // after the call
    const char* contentAfter;  // nullptr: no file
};

class Dispositions : public ::testing::TestWithParam<DispositionCase> {};

TEST_P(Dispositions, FollowWindows) {
    const DispositionCase& c = GetParam();
    ScratchFolder folder;
    if (c.fileExists) {
        folder.Write("data.bin", "old");
    }
    HANDLE file = Open(folder / "DATA.BIN", GENERIC_READ | GENERIC_WRITE, c.disposition);
    const DWORD error = GetLastError();
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
    EXPECT_EQ(error, c.lastError);
    if (file != INVALID_HANDLE_VALUE) {
        EXPECT_TRUE(CloseHandle(file));
    }
    if (c.contentAfter) {
        EXPECT_EQ(ReadWhole(folder / "data.bin"), c.contentAfter);
    } else {
        EXPECT_FALSE(std::filesystem::exists(folder / "data.bin"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    CreateFileA, Dispositions,
    ::testing::Values(DispositionCase{CREATE_NEW, false, true, ERROR_SUCCESS, ""},
                      DispositionCase{CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
                      DispositionCase{CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
                      DispositionCase{CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
                      DispositionCase{OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
                      DispositionCase{OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
                      DispositionCase{OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
                      DispositionCase{OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
                      DispositionCase{TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND,
                                      nullptr},
                      DispositionCase{TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""}));

TEST(Files, WriteReadSizeAndAccess) {
    ScratchFolder folder;
    HANDLE file = Open(folder / "f.bin", GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD count = 0;
    EXPECT_TRUE(WriteFile(file, "abcdef", 6, &count, nullptr));
    EXPECT_EQ(count, 6u);
    char buffer[16];
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file, &high), 6u);
    EXPECT_EQ(high, 0u);
    EXPECT_TRUE(CloseHandle(file));

    file = Open(folder / "f.bin", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReadFile(file, buffer, 4, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "abcd");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "ef");
    // At the end a read succeeds with nothing.
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(WriteFile(file, "x", 1, &count, nullptr));
    EXPECT_TRUE(CloseHandle(file));
}

TEST(Files, StaleAndMadeUpHandlesFail) {
    ScratchFolder folder;
    HANDLE file = Open(folder / "f.bin", GENERIC_WRITE, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
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

TEST(Files, MissingFolderIsPathNotFound) {
    ScratchFolder folder;
    EXPECT_EQ(Open(folder / "none/f.bin", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open(folder.Path(), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(Files, FoldersAttributesAndDeletion) {
    ScratchFolder folder;
    const std::string sub = folder.Path() + "\\Sub";
    EXPECT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA((folder.Path() + "\\SUB").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryA((folder.Path() + "\\none\\x").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    folder.Write("Sub/f.txt", "x");

    EXPECT_EQ(GetFileAttributesA(sub.c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA((sub + "\\F.TXT").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesA((sub + "\\g.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(PathIsDirectoryA((folder.Path() + "\\sub").c_str()), FALSE);
    EXPECT_EQ(PathIsDirectoryA((sub + "\\f.txt").c_str()), FALSE);

    EXPECT_FALSE(RemoveDirectoryA(sub.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_FALSE(DeleteFileA(sub.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
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
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadWhole(folder / "Part.gif"), "old");
    EXPECT_TRUE(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadWhole(folder / "Part.gif"), "new");
    EXPECT_FALSE(std::filesystem::exists(from));
    EXPECT_FALSE(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
