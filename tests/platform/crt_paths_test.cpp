#include <unistd.h>

#include <gtest/gtest.h>
#include <cerrno>
#include <cstdlib>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

class CrtPaths : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("Home/Avatar/f.gif", "");
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir((folder / "Home").c_str()), 0);
        home = std::filesystem::current_path().string();
    }
    void TearDown() override { EXPECT_EQ(chdir(previous), 0); }
    ScratchFolder folder;
    char previous[4096];
    std::string home;
};

TEST_F(CrtPaths, FullPath) {
    struct Case {
        const char* relative;
        std::string expected;
    };
    const Case cases[] = {
        {".\\AVATAR", home + "/Avatar"},
        {"avatar\\\\F.GIF", home + "/Avatar/f.gif"},
        {"Avatar\\", home + "/Avatar/"},
        {"missing\\..\\avatar\\.\\f.gif", home + "/Avatar/f.gif"},
        {"", home},
        {"\\", "/"},
    };
    for (const Case& c : cases) {
        char buffer[MAX_PATH];
        EXPECT_EQ(_fullpath(buffer, c.relative, sizeof buffer), buffer) << c.relative;
        EXPECT_EQ(std::string(buffer), c.expected) << c.relative;
    }
    char* allocated = _fullpath(nullptr, "avatar", 1);
    ASSERT_NE(allocated, nullptr);
    EXPECT_EQ(std::string(allocated), home + "/Avatar");
    std::free(allocated);

    char small[8];
    errno = 0;
    EXPECT_EQ(_fullpath(small, "avatar", sizeof small), nullptr);
    EXPECT_EQ(errno, ERANGE);
}

TEST_F(CrtPaths, SplitPath) {
    char drive[3] = "x", dir[MAX_PATH], name[MAX_PATH], ext[MAX_PATH];
    EXPECT_EQ(_splitpath_s("AVATAR\\F.GIF", drive, sizeof drive, dir, sizeof dir, name, sizeof name,
                           ext, sizeof ext),
              0);
    EXPECT_STREQ(drive, "");
    EXPECT_STREQ(dir, "Avatar/");
    EXPECT_STREQ(name, "f");
    EXPECT_STREQ(ext, ".gif");

    EXPECT_EQ(_splitpath_s("\\a.b\\name.tar.gz", nullptr, 0, dir, sizeof dir, name, sizeof name,
                           ext, sizeof ext),
              0);
    EXPECT_STREQ(dir, "/a.b/");
    EXPECT_STREQ(name, "name.tar");
    EXPECT_STREQ(ext, ".gz");

    EXPECT_EQ(_splitpath_s("noext", nullptr, 0, nullptr, 0, name, sizeof name, ext, sizeof ext), 0);
    EXPECT_STREQ(name, "noext");
    EXPECT_STREQ(ext, "");

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

TEST_F(CrtPaths, Access) {
    EXPECT_EQ(_access_s("AVATAR\\F.gif", 0), 0);
    EXPECT_EQ(_access_s("avatar", 6), 0);
    EXPECT_EQ(_access_s("avatar\\g.gif", 0), ENOENT);
    EXPECT_EQ(_access_s("avatar", 1), EINVAL);
}

}  // namespace
