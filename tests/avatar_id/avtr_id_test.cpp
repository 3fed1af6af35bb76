#include "avatar_id/avtr_id.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Parts = std::vector<std::string>;

// Reaches the protected members the tests pin.
class ProbedId : public CAvtrId {
public:
    int ExpressPos() const { return m_nExpressPos; }
    const std::string* ExpressPart() const {
        return m_itExpress == m_vecId.end() ? nullptr : &*m_itExpress;
    }
};

ProbedId Made(const std::string& id, bool com) {
    ProbedId made;
    made.Set(id, com);
    return made;
}

std::string Text(CAvtrId& id, bool upper) {
    std::string out = "untouched";
    id.ToString(out, upper);
    return out;
}

struct LayeredCase {
    const char* id;
    Parts parts;
};

class LayeredIdTest : public testing::TestWithParam<LayeredCase> {};

TEST_P(LayeredIdTest, ArrangesPartsInLayerOrder) {
    ProbedId id = Made(GetParam().id, false);
    EXPECT_EQ(id.IdVec(), GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LayeredIdTest,
    testing::Values(LayeredCase{"LCM001_HCM001_FNM001A_PNM001",
                                {"pnm001b", "lcm001", "hcm001", "fnm001a", "pnm001a"}},
                    LayeredCase{"lcm001_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_",
                                {"a4u000", "a3m000b", "pnm001b", "lcm001", "hcm001", "fnm001a",
                                 "pnm001a", "a3m000a", "a2u000", "a1u000"}},
                    LayeredCase{"sam001", {"sam001c", "sam001b", "sam001a"}},
                    LayeredCase{"a3m001x", {"a3m001b", "a3m001a"}},
                    LayeredCase{"pnm01", {"pnm01", "pnm01"}},
                    LayeredCase{"pnm00123", {"pnm00123", "pnm00123"}},
                    LayeredCase{"__LCM001___HCM001_", {"lcm001", "hcm001"}},
                    LayeredCase{"lcm001_lcm002", {"lcm001"}}, LayeredCase{"zzm001", {}},
                    LayeredCase{"p_a_l", {}}, LayeredCase{"", {}}, LayeredCase{"________", {}}));

TEST(AvtrIdTest, DefaultIdsAreRecognisedOnlyOnTheComPath) {
    EXPECT_TRUE(Made("LCF001_HCF001_FNF001A_PNF001", true).IsDefault());
    EXPECT_TRUE(Made("lcf001_hcf001_fnf001a_pnf001", true).IsDefault());
    EXPECT_TRUE(Made("LCM001_HCM001_FNM001A_PNM001", true).IsDefault());
    EXPECT_FALSE(Made("LCM001_HCM001_FNM001A_PNM001_", true).IsDefault());
    EXPECT_FALSE(Made("lcf001_hcf001_fnf001a_pnf001", false).IsDefault());
}

TEST(AvtrIdTest, ComIdIsOneUpperCasedPartWithoutExpression) {
    ProbedId id = Made("LCF001_HCF001_FNF001A_PNF001", true);
    EXPECT_EQ(id.IdVec(), Parts{"LCF001_HCF001_FNF001A_PNF001"});
    EXPECT_TRUE(id.IsComAvtr());
    EXPECT_EQ(id.GetExpressionCode(), 0);
    EXPECT_FALSE(id.SetExpressionCode('b'));

    ProbedId mixed = Made("ABC_def", true);
    EXPECT_EQ(mixed.IdVec(), Parts{"ABC_DEF"});
    EXPECT_EQ(Text(mixed, false), "abc_def");

    ProbedId empty = Made("", true);
    EXPECT_EQ(empty.IdVec(), Parts{""});
    EXPECT_EQ(Text(empty, false), "untouched");
}

TEST(AvtrIdTest, ExpressionOfTheFirstExample) {
    ProbedId id = Made("LCM001_HCM001_FNM001A_PNM001", false);
    ASSERT_NE(id.ExpressPart(), nullptr);
    EXPECT_EQ(*id.ExpressPart(), "fnm001a");
    EXPECT_EQ(id.GetExpressionCode(), 'a');
    EXPECT_TRUE(id.IsExpressionAvatar());
    EXPECT_EQ(Text(id, true), "LCM001_HCM001_FNM001A_PNM001");

    EXPECT_TRUE(id.SetExpressionCode('n'));
    EXPECT_FALSE(id.IsExpressionAvatar());
    EXPECT_EQ(id.GetExpressionCode(), 'n');
    EXPECT_EQ(Text(id, false), "lcm001_hcm001_fnm001n_pnm001");
    EXPECT_EQ(id.IdVec()[3], "fnm001a");
}

TEST(AvtrIdTest, ExpressionLetterPositions) {
    struct Case {
        const char* id;
        char letter;
        int pos;
    };
    for (const Case& c : {
             Case{"lcm001_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_", 'a', 20},
             Case{"fnm001", '1', 5},
             Case{"sbm001x_fnm002y", 'y', 14},  // the face part wins over sb
             Case{"sbm001x", 'x', 6},
             Case{"xfnm001_fnm001ab", 'f', 8},  // the base name first occurs earlier
         }) {
        ProbedId id = Made(c.id, false);
        EXPECT_EQ(id.GetExpressionCode(), c.letter) << c.id;
        EXPECT_EQ(id.ExpressPos(), c.pos) << c.id;
        EXPECT_TRUE(id.IsExpressionAvatar()) << c.id;
    }
}

TEST(AvtrIdTest, ToStringKeepsUnknownAndDuplicateTokens) {
    ProbedId id = Made("LCM001_ZZM001_lcm002__", false);
    EXPECT_EQ(id.IdVec(), Parts{"lcm001"});
    EXPECT_EQ(Text(id, false), "lcm001_zzm001_lcm002__");

    char buffer[32];
    std::memset(buffer, '#', sizeof(buffer));
    ASSERT_TRUE(id.ToString(buffer, true));
    EXPECT_STREQ(buffer, "LCM001_ZZM001_LCM002__");
    EXPECT_EQ(buffer[23], '#');

    ProbedId empty = Made("", false);
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_FALSE(empty.ToString(buffer, false));
    EXPECT_EQ(buffer[0], '#');
}

TEST(AvtrIdTest, AddPrefixAddsAgainOnEachCallAndOnlyToComIds) {
    ProbedId com = Made("ABC", true);
    com.AddPrefix("X_");
    EXPECT_EQ(com.IdVec(), Parts{"X_ABC"});
    com.AddPrefix("X_");
    EXPECT_EQ(com.IdVec(), Parts{"X_X_ABC"});

    ProbedId layered = Made("lcm001", false);
    layered.AddPrefix("X_");
    EXPECT_EQ(layered.IdVec(), Parts{"lcm001"});

    ProbedId emptyCom;
    emptyCom.SetComAvatar(true);
    emptyCom.AddPrefix("X_");
    EXPECT_TRUE(emptyCom.IdVec().empty());
}

TEST(AvtrIdTest, CopyKeepsTheTargetsLength) {
    ProbedId longer = Made("LCM001_HCM001_FNM001A_PNM001", false);  // 5 parts
    ProbedId shorter = Made("ABC", true);                           // 1 part

    ProbedId target = longer;
    target.Copy(shorter);
    EXPECT_EQ(target.IdVec(), (Parts{"ABC", "lcm001", "hcm001", "fnm001a", "pnm001a"}));
    EXPECT_TRUE(target.IsComAvtr());
    EXPECT_EQ(Text(target, false), "lcm001_hcm001_fnm001a_pnm001");

    shorter.Copy(longer);
    EXPECT_EQ(shorter.IdVec(), Parts{"pnm001b"});
    EXPECT_FALSE(shorter.IsComAvtr());
}

TEST(AvtrIdTest, CopiesAimTheirExpressionCacheAtTheirOwnList) {
    auto original = std::make_unique<ProbedId>(Made("LCM001_HCM001_FNM001A_PNM001", false));
    ProbedId constructed(*original);
    ProbedId assigned;
    assigned = *original;
    original.reset();
    for (ProbedId* copy : {&constructed, &assigned}) {
        ASSERT_NE(copy->ExpressPart(), nullptr);
        EXPECT_EQ(copy->ExpressPart(), &copy->IdVec()[3]);
        EXPECT_TRUE(copy->SetExpressionCode('c'));
        EXPECT_EQ(Text(*copy, false), "lcm001_hcm001_fnm001c_pnm001");
    }
}

TEST(AvtrIdTest, LongIdsAreSplitWhole) {
    const std::string filler(600, 'x');
    ProbedId id = Made("lcm001_" + filler + "_HCM001_fnm" + filler + "b", false);
    ASSERT_EQ(id.IdVec().size(), 3u);
    EXPECT_EQ(id.IdVec()[0], "lcm001");
    EXPECT_EQ(id.IdVec()[1], "hcm001");
    EXPECT_EQ(id.GetExpressionCode(), 'b');

    ProbedId separators = Made(std::string(1000, '_'), false);
    EXPECT_TRUE(separators.IdVec().empty());
    EXPECT_EQ(separators.GetExpressionCode(), 0);
}

TEST(AvtrIdTest, ExpressionPartReachingPastTheStringIsNoExpression) {
    ProbedId id = Made("fnm001", true);
    id.AddPrefix("fnm001");  // part fnm001FNM001, longer than the id string
    EXPECT_EQ(id.GetExpressionCode(), 0);
    EXPECT_FALSE(id.SetExpressionCode('z'));
    EXPECT_FALSE(id.IsExpressionAvatar());
    EXPECT_EQ(Text(id, false), "fnm001");
}

}  // namespace
