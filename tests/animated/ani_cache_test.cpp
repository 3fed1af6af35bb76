#include "animated/ani_fixture.h"

namespace anitest {
namespace {

using loopback::HttpFault;

TEST_F(AniAvatarTest, FileNamesFollowTheDisplayChoices) {
    Avatar avatar;
    char name[520] = "junk", id[] = "abc";
    // Bitmap names ignore size and variant; size 48 has no letter.
    EXPECT_EQ(avatar.getAvatarFileName(name, id, 2, 1024, 48, 7), 1);
    EXPECT_STREQ(name, "BS_abc.BMP");
    EXPECT_EQ(avatar.getAvatarFileName(name, id, 1, 8, 48, 256), 0);
    EXPECT_STREQ(name, "");
    // a7 gives "AW" whatever a2 says; a5 full size, a6 variant A.
    Serve("AWFA_abc.GIF", AvatarGifText(1));
    EXPECT_EQ(avatar.CreateEx("abc", 1, 0, 0, 1, 1, 1), 1);
    EXPECT_STREQ(avatar.m_szFileName, "AWFA_abc.GIF");
    Serve("ACHS_abc.GIF", AvatarGifText(1));
    EXPECT_EQ(avatar.CreateEx("abc", 1, 1, 1, 0, 0, 0), 1);
    EXPECT_STREQ(avatar.m_szFileName, "ACHS_abc.GIF");
}

TEST_F(AniAvatarTest, HostileIdentifiersAreRefused) {
    const std::string refused[] = {
        "",    "../x", "a/b",  "a\\b",  "c:x", "a%2e", "a?b",
        "a#b", "a b",  "a\tb", "\x80x", "a*b", "x..y", std::string(27, 'a')};
    for (const std::string& id : refused) {
        Avatar avatar(m_window);
        EXPECT_EQ(avatar.Create(id.c_str(), 0, 0, 0, 0, 0, 0), 0) << id;
        EXPECT_EQ(avatar.CreateEx(id.c_str(), 0, 0, 0, 0, 0, 0), 0) << id;
    }
    Avatar avatar(m_window);
    EXPECT_EQ(avatar.Create(nullptr, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(m_server.TotalRequestCount(), 0);
    EXPECT_TRUE(CacheFiles().empty());
    const std::string longest(26, 'z');
    Serve("AGHS_" + longest + ".GIF", AvatarGifText(1));
    EXPECT_EQ(avatar.CreateEx(longest.c_str(), 0, 0, 0, 0, 0, 0), 1);
    // A cache path over 260 characters is refused, not cut.
    const std::string deep = (m_home / std::string(240, 'd')).string();
    std::snprintf(CKvAniAvatar::s_KVAvatarPath, sizeof CKvAniAvatar::s_KVAvatarPath, "%s",
                  deep.c_str());
    EXPECT_EQ(avatar.CreateEx("abcdefghijklmn", 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(m_server.TotalRequestCount(), 1);
}

TEST_F(AniAvatarTest, CachedFileIsUsedWithoutTheNetwork) {
    Avatar first;  // the default constructor creates the folder
    std::ofstream(CacheFile("AGHS_abc.GIF"), std::ios::binary) << AvatarGifText(3);
    Avatar avatar(m_window);
    avatar.m_gifList.m_msgParam = kNotify;
    EXPECT_EQ(avatar.CreateEx("abc", 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(m_server.TotalRequestCount(), 0);
    EXPECT_EQ(avatar.IsAniAvatar(), 1);
    EXPECT_EQ(avatar.m_nWidth, 10);
    EXPECT_EQ(TakeMessages(), (std::vector<Message>{{1, kNotify}}));
    // An empty cached file is fetched again.
    std::ofstream(CacheFile("AGHS_abc.GIF"), std::ios::trunc);
    Serve("AGHS_abc.GIF", AvatarGifText(1));
    EXPECT_EQ(avatar.CreateEx("abc", 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(avatar.IsAniAvatar(), 0);
    EXPECT_EQ(avatar.m_hWnd.load(), nullptr) << "re-creating a ready avatar forgets its window";
    EXPECT_TRUE(TakeMessages().empty());
}

// Only a file that downloaded but would not load is announced, as (2, 0).
TEST_F(AniAvatarTest, FailedFetchesLeaveNoFile) {
    const std::string path = m_home.string() + "\\Avatar\\AGHS_abc.GIF";
    const std::string queryFailed = "KVAVTR:: DownloadFile():: HttpQueryInfo() failed [FnRet:";
    const struct {
        HttpFault fault;
        std::string log;
        std::vector<Message> posted;
    } cases[] = {
        {HttpFault::kNotFound, queryFailed + "404]\n", {}},
        {HttpFault::kServerError, queryFailed + "500]\n", {}},
        {HttpFault::kCutShort, "", {}},
        {HttpFault::kStallMidBody, "", {}},
        {HttpFault::kHtmlErrorPage,
         "KVAVTR:: CKvAniAvatar.loadAvatar :: delete loading failed file [ " + path + " ]\n",
         {{2, 0}}},
    };
    Avatar avatar;
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        Serve("AGHS_abc.GIF", AvatarGifText(3) + std::string(4000, '\0'), c.fault);
        avatar.SetHWND(m_window);
        avatar.m_gifList.m_msgParam = kNotify;
        EXPECT_EQ(avatar.CreateEx("abc", 0, 0, 0, 0, 0, 0), 0);
        EXPECT_EQ(avatar.IsReady(), 0);
        EXPECT_TRUE(CacheFiles().empty());
        EXPECT_EQ(TakeMessages(), c.posted);
        EXPECT_TRUE(c.log.empty() || Logged(c.log));
    }
    EXPECT_TRUE(
        Logged("KVAVTR:: CKvAniAvatar.checkSavedAvatarFile() :: No Avatar File : " + path + " \n"));
    EXPECT_TRUE(Logged("KVAVTR:: downloadFile() :: 0 times [ http://" + m_server.HostPort() +
                       "/IMG_AVTR/AGHS_abc.GIF ]->[ " + path + " ]\n"));
}

TEST_F(AniAvatarTest, CheckFolderDeletesOnlyAnimatedCacheFiles) {
    Avatar avatar;
    for (const char* name : {"Avatar3.ini", "default.avt", "AGHS_.txt", "notes.GIF", "AGHS_abc.GIF",
                             "awfa_x.gif", "BB_abc.BMP", "AGHS_abc.GIF.12ab0.kvdltmp"}) {
        std::ofstream(CacheFile(name)) << "x";
    }
    fs::create_directory(CacheFile("ACHS_sub.GIF"));
    avatar.CheckFolder();
    std::vector<std::string> left = CacheFiles();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"ACHS_sub.GIF", "AGHS_.txt", "Avatar3.ini",
                                              "default.avt", "notes.GIF"}));
}

}  // namespace
}  // namespace anitest
