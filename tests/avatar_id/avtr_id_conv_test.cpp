#include "avatar_id/avtr_id_conv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* kSampleCode = "NNN0121001001N010000000000";
constexpr const char* kSampleId = "lcm001_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_";

class ProbedConv : public CAvtrIdConv {
public:
    using CAvtrIdConv::AvtCode;
    using CAvtrIdConv::IsMatch;
};

std::string Converted(const char* code) {
    CAvtrIdConv conv;
    conv.SetOrgAvtrId(code);
    EXPECT_TRUE(conv.Conv());
    return conv.GetAvtrId();
}

struct ConvCase {
    const char* name;
    std::string code;
    std::string id;
};

class ConvTest : public testing::TestWithParam<ConvCase> {};

TEST_P(ConvTest, ConvertsCode) {
    EXPECT_EQ(Converted(GetParam().code.c_str()), GetParam().id);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ConvTest,
    testing::Values(ConvCase{"Sample", kSampleCode, kSampleId},
                    ConvCase{"FemaleWhenGenderIsNotOne", "NNN0122001001N010000000000",
                             "lcf001_hcf001_fnf001a_pnf001a_a1u000_a2u000_a3f000a_a4u000_"},
                    ConvCase{"EveryPositionInItsPart", "NAB3456789012N345678901234",
                             "lcf789_hcf012_fnf034a_paf034a_a1u012_a2u090_a3f078a_a4u056_"},
                    ConvCase{"SetForm",
                             "S00000200000000000000000"
                             "12",
                             "ssf012a_"},
                    ConvCase{"LettersInDigitPositionsAreCopied", "NNN0121XY1001N010000000000",
                             "lcmxy1_hcm001_fnm001a_pnm001a_a1u000_a2u000_a3m000a_a4u000_"},
                    ConvCase{"LongCodeIsCut",
                             std::string(kSampleCode) + "999ZZZZZZZZZZZZZZZZZZZZZZZZZZ", kSampleId},
                    // Positions past the end of a short code add nothing to their part.
                    ConvCase{"LoneN", "N", "lcf_hcf_fnf0a_pf0a_a1u0_a2u0_a3f0a_a4u0_"},
                    ConvCase{"ShortCode", "NNN0121001",
                             "lcm001_hcm_fnm0a_pnm001a_a1u0_a2u0_a3m0a_a4u0_"},
                    ConvCase{"Empty", "", "sf0a_"}),
    [](const testing::TestParamInfo<ConvCase>& info) { return info.param.name; });

TEST(AvtrIdConvTest, EveryConvAppends) {
    CAvtrIdConv conv;
    conv.SetOrgAvtrId(kSampleCode);
    conv.Conv();
    conv.Conv();
    EXPECT_EQ(conv.GetAvtrId(), std::string(kSampleId) + kSampleId);

    conv.SetOrgAvtrId(
        "T000002000000000000000"
        "0045");
    conv.Conv();
    EXPECT_EQ(conv.GetAvtrId(), std::string(kSampleId) + kSampleId + "stf045a_");
}

TEST(AvtrIdConvTest, ProbesReadTheCode) {
    ProbedConv conv;
    conv.SetOrgAvtrId(kSampleCode);
    EXPECT_EQ(conv.AvtCode(6), 'm');
    EXPECT_EQ(conv.AvtCode(7), '0');
    EXPECT_TRUE(conv.IsMatch(0, 'N'));
    EXPECT_TRUE(conv.IsMatch(6, '1'));

    conv.SetOrgAvtrId("N");
    EXPECT_EQ(conv.AvtCode(6), 'f');
    EXPECT_EQ(conv.AvtCode(7), 0);
    EXPECT_EQ(conv.AvtCode(1000), 0);
}

}  // namespace
