#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

class PathTranslation : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("Avatar/com/Part.GIF", "gif");
        folder.Write("Avatar/Default.avt", "avt");
    }
    ScratchFolder folder;
};

struct Case {
    const char* windowsTail;  // appended to the folder's path
    const char* posixTail;
};

TEST_F(PathTranslation, SeparatorsAndCase) {
    const Case cases[] = {
        {"\\Avatar\\com\\Part.GIF", "/Avatar/com/Part.GIF"},
        {"\\\\Avatar\\\\\\com//Part.GIF", "/Avatar/com/Part.GIF"},
        {"\\avatar\\COM\\part.gif", "/Avatar/com/Part.GIF"},
        {"/AVATAR/default.AVT", "/Avatar/Default.avt"},
        {"\\avatar\\", "/Avatar/"},
        // Below a missing component nothing is resolved.
        {"\\avatar\\missing\\PART.gif", "/Avatar/missing/PART.gif"},
        {"\\avatar\\com\\New.gif", "/Avatar/com/New.gif"},
        {"\\avatar\\.\\com\\..\\DEFAULT.AVT", "/Avatar/./com/../Default.avt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kvplatform::TranslatePath((folder.Path() + c.windowsTail).c_str()),
                  folder.Path() + c.posixTail)
            << c.windowsTail;
    }
}

TEST_F(PathTranslation, RelativePathsResolveAgainstTheCurrentDirectory) {
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder.Path().c_str()), 0);
    EXPECT_EQ(kvplatform::TranslatePath(".\\AVATAR\\com\\part.gif"), "./Avatar/com/Part.GIF");
    EXPECT_EQ(kvplatform::TranslatePath("avatar\\default.avt"), "Avatar/Default.avt");
    EXPECT_EQ(kvplatform::TranslatePath(""), "");
    EXPECT_EQ(chdir(previous), 0);
}

TEST_F(PathTranslation, FilesOpenUnderAnyCaseAndNewFilesLandInTheExistingFolder) {
    char content[8] = {};
    DWORD got = 0;
    HANDLE file = CreateFileA((folder.Path() + "\\AVATAR\\COM\\part.gif").c_str(), GENERIC_READ, 0,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReadFile(file, content, sizeof content, &got, nullptr));
    EXPECT_EQ(std::string(content, got), "gif");
    EXPECT_TRUE(CloseHandle(file));

    file = CreateFileA((folder.Path() + "\\avatar\\COM\\fresh.gif").c_str(), GENERIC_WRITE, 0,
                       nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_TRUE(std::filesystem::exists(folder / "Avatar/com/fresh.gif"));
    EXPECT_FALSE(std::filesystem::exists(folder / "avatar"));
}

}  // namespace
