#include <gtest/gtest.h>

#include "platform/testing.h"
#include "scratch_folder.h"

namespace {

TEST(PrivateProfile, ReadsLeadingDecimalIntegers) {
    ScratchFolder folder;
    folder.Write("Avatar3.ini",
                 "[Other]\n"
                 "Count=1\n"
                 "[Avatar]\r\n"
                 "Count = 42 \r\n"
                 "Prefix=17px\n"
                 "Negative=-3\n"
                 "Word=abc\n"
                 "Hex=0x10\n"
                 "Empty=\n"
                 ";Noted=5\n"
                 "count=99\n");
    const std::string file = folder.Path() + "\\AVATAR3.INI";
    struct Case {
        const char* section;
        const char* key;
        UINT expected;
    };
    const Case cases[] = {
        {"avatar", "COUNT", 42},  // first of the same name wins
        {"Avatar", "Prefix", 17}, {"Avatar", "Negative", static_cast<UINT>(-3)},
        {"Avatar", "Word", 0},    {"Avatar", "Hex", 0},
        {"Avatar", "Empty", 7},   {"Avatar", "Noted", 7},
        {"Avatar", "Missing", 7}, {"Missing", "Count", 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetPrivateProfileIntA(c.section, c.key, 7, file.c_str()), c.expected)
            << c.section << "/" << c.key;
    }
    EXPECT_EQ(GetPrivateProfileIntA("Avatar", "Count", -1, (folder / "none.ini").c_str()),
              static_cast<UINT>(-1));
}

}  // namespace
