#include "avatar_id/avtr_id.h"
#include "avatar_id/avtr_id_conv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
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

TEST(AvtrIdTest, ArrangesPartsInLayerOrder) {
    const std::pair<const char*, Parts> cases[] = {
        {"LCM001_HCM001_FNM001A_PNM001", {"pnm001b", "lcm001", "hcm001", "fnm001a", "pnm001a"}},
        {"lcm001_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_",
         {"a4u000", "a3m000b", "pnm001b", "lcm001", "hcm001", "fnm001a", "pnm001a", "a3m000a",
          "a2u000", "a1u000"}},
        {"sam001", {"sam001c", "sam001b", "sam001a"}},
        {"a3m001x", {"a3m001b", "a3m001a"}},
        {"pnm01", {"pnm01", "pnm01"}},
        {"pnm00123", {"pnm00123", "pnm00123"}},
        {"__LCM001___HCM001_", {"lcm001", "hcm001"}},
        {"lcm001_lcm002", {"lcm001"}},
        {"zzm001", {}},
        {"p_a_l", {}},
        {"________", {}}};
    for (const auto& [text, parts] : cases) {
        EXPECT_EQ(Made(text, false).IdVec(), parts) << text;
    }
}

// Default ids are recognised on the com path only.
TEST(AvtrIdTest, ComIdIsOneUpperCasedPartWithoutExpression) {
    EXPECT_TRUE(Made("lcf001_hcf001_fnf001a_pnf001", true).IsDefault());
    EXPECT_TRUE(Made("LCM001_HCM001_FNM001A_PNM001", true).IsDefault());
    EXPECT_FALSE(Made("LCM001_HCM001_FNM001A_PNM001_", true).IsDefault());
    EXPECT_FALSE(Made("lcf001_hcf001_fnf001a_pnf001", false).IsDefault());
    ProbedId id = Made("LCF001_HCF001_FNF001A_PNF001", true);
    EXPECT_EQ(id.IdVec(), Parts{"LCF001_HCF001_FNF001A_PNF001"});
    EXPECT_EQ(id.GetExpressionCode(), 0);
    EXPECT_FALSE(id.SetExpressionCode('b'));
    ProbedId mixed = Made("ABC_def", true);
    EXPECT_EQ(mixed.IdVec(), Parts{"ABC_DEF"});
    EXPECT_EQ(Text(mixed, false), "abc_def");
}

TEST(AvtrIdTest, ExpressionLetterAndItsChange) {
    const std::tuple<const char*, char, int> cases[] = {
        {"LCM001_HCM001_FNM001A_PNM001", 'a', 20},
        {"fnm001", '1', 5},
        {"sbm001x_fnm002y", 'y', 14},  // the face part wins over sb
        {"sbm001x", 'x', 6},
        {"xfnm001_fnm001ab", 'f', 8}};  // the base name first occurs earlier
    for (const auto& [text, letter, pos] : cases) {
        ProbedId id = Made(text, false);
        EXPECT_EQ(id.GetExpressionCode(), letter) << text;
        EXPECT_EQ(id.ExpressPos(), pos) << text;
    }
    ProbedId id = Made("LCM001_HCM001_FNM001A_PNM001", false);
    EXPECT_TRUE(id.IsExpressionAvatar());
    EXPECT_TRUE(id.SetExpressionCode('n'));
    EXPECT_FALSE(id.IsExpressionAvatar());
    EXPECT_EQ(id.GetExpressionCode(), 'n');
    EXPECT_EQ(Text(id, false), "lcm001_hcm001_fnm001n_pnm001");
    EXPECT_EQ(id.IdVec()[3], "fnm001a");
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
    ProbedId face = Made("fnm001", true);
    face.AddPrefix("fnm001");  // part fnm001FNM001, longer than the id string: no expression
    EXPECT_EQ(face.GetExpressionCode(), 0);
    EXPECT_FALSE(face.SetExpressionCode('z'));
    EXPECT_EQ(Text(face, false), "fnm001");
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
}

constexpr const char* kSampleCode = "NNN0121001001N010000000000";
constexpr const char* kSampleId = "lcm001_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_";

TEST(AvtrIdConvTest, ConvertsCodes) {
    const std::pair<std::string, std::string> cases[] = {
        {kSampleCode, kSampleId},
        // Female when the gender is not 1.
        {"NNN0122001001N010000000000",
         "lcf001_hcf001_fnf001a_pnf001a_a1u000_a2u000_a3f000a_a4u000_"},
        {"NAB3456789012N345678901234",
         "lcf789_hcf012_fnf034a_paf034a_a1u012_a2u090_a3f078a_a4u056_"},
        {"S0000020000000000000000012", "ssf012a_"},
        // Letters in digit positions are copied.
        {"NNN0121XY1001N010000000000",
         "lcmxy1_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_"},
        {std::string(kSampleCode) + "999ZZZZZZZZZZZZZZZZZZZZZZZZZZ", kSampleId},  // cut
        // Positions past the end of a short code add nothing to their part.
        {"N", "lcf_hcf_fnf0a_pf0a_a1u0_a2u0_a3f0a_a4u0_"},
        {"NNN0121001", "lcm001_hcm_fnm0a_pnm001a_a1u0_a2u0_a3m0a_a4u0_"},
        {"", "sf0a_"}};
    for (const auto& [code, id] : cases) {
        CAvtrIdConv conv;
        conv.SetOrgAvtrId(code.c_str());
        EXPECT_TRUE(conv.Conv());
        EXPECT_EQ(conv.GetAvtrId(), id) << code;
    }
}

TEST(AvtrIdConvTest, EveryConvAppends) {
    CAvtrIdConv conv;
    conv.SetOrgAvtrId(kSampleCode);
    conv.Conv();
    conv.Conv();
    EXPECT_EQ(conv.GetAvtrId(), std::string(kSampleId) + kSampleId);
}

}  // namespace
