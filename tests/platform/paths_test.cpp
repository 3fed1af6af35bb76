#include <unistd.h>

#include <gtest/gtest.h>
#include <cerrno>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

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

TEST_F(Paths, FullPath) {
    const struct {
        const char* relative;
        std::string expected;
    } cases[] = {
        {"avatar\\\\DEFAULT.AVT", home + "/Avatar/Default.avt"},
        {"Avatar\\", home + "/Avatar/"},
        {"missing\\..\\avatar\\.\\com", home + "/Avatar/com"},
        {"", home},
        {"\\", "/"},
    };
    for (const auto& c : cases) {
        char buffer[MAX_PATH];
        EXPECT_EQ(_fullpath(buffer, c.relative, sizeof buffer), buffer) << c.relative;
        EXPECT_EQ(std::string(buffer), c.expected) << c.relative;
    }
    char small[8];
    errno = 0;
    EXPECT_EQ(_fullpath(small, "avatar", sizeof small), nullptr);
    EXPECT_EQ(errno, ERANGE);
}

TEST_F(Paths, SplitPath) {
    char drive[3] = "x", dir[MAX_PATH], name[MAX_PATH], ext[MAX_PATH];
    EXPECT_EQ(_splitpath_s("AVATAR\\DEFAULT.AVT", drive, sizeof drive, dir, sizeof dir, name,
                           sizeof name, ext, sizeof ext),
              0);
    EXPECT_STREQ(drive, "");
    EXPECT_STREQ(dir, "Avatar/");
    EXPECT_STREQ(name, "Default");
    EXPECT_STREQ(ext, ".avt");

    EXPECT_EQ(_splitpath_s("\\a.b\\name.tar.gz", nullptr, 0, dir, sizeof dir, name, sizeof name,
                           ext, sizeof ext),
              0);
    EXPECT_STREQ(dir, "/a.b/");
    EXPECT_STREQ(name, "name.tar");
    EXPECT_STREQ(ext, ".gz");

    // One part too long empties them all rather than overflowing.
    char shortName[4];
    EXPECT_EQ(_splitpath_s("dir\\longname.gif", nullptr, 0, dir, sizeof dir, shortName,
                           sizeof shortName, ext, sizeof ext),
              ERANGE);
    EXPECT_STREQ(dir, "");
    EXPECT_STREQ(shortName, "");
    EXPECT_STREQ(ext, "");

    EXPECT_EQ(_splitpath_s(nullptr, nullptr, 0, dir, sizeof dir, nullptr, 0, nullptr, 0), EINVAL);
    EXPECT_EQ(_splitpath_s("a", nullptr, 0, dir, 0, nullptr, 0, nullptr, 0), EINVAL);
}

}  // namespace
