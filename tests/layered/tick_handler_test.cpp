#include <gtest/gtest.h>

#include <vector>

#include "fake_clock.h"
#include "layered/avtr_tick_handler.h"
#include "parts/avtr_part.h"

namespace {

struct Step {
    DWORD advance;
    unsigned long frame;
};

struct ClockCase {
    const char* name;
    DWORD start;
    std::vector<unsigned long> delays;
    bool setDelay;            // SetDelay(0, delays[0]) before the first step
    std::vector<Step> steps;  // each an advance followed by one FrameMove
};

class TickHandlerTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(TickHandlerTest, ShowsTheExpectedFrameAfterEachMove) {
    const ClockCase& c = GetParam();
    FakeClock time(c.start);
    CAvtrPart part;
    part.m_vecDelays = c.delays;
    part.m_vecFrames.assign(c.delays.size(), nullptr);  // the clock never draws them
    CAvtrTickHandler clock;
    clock.SetSize(1);
    if (c.setDelay) {
        clock.SetDelay(0, c.delays[0]);
    }
    for (size_t n = 0; n < c.steps.size(); ++n) {
        time.Advance(c.steps[n].advance);
        clock.FrameMove(0, &part);
        EXPECT_EQ(c.steps[n].frame, clock.getNowFrameNo(0)) << "step " << n;
    }
}

// Exactly run out is not yet out; delays below 5 hundredths count as 100 ms.
INSTANTIATE_TEST_SUITE_P(
    Cases, TickHandlerTest,
    ::testing::Values(
        ClockCase{"OwnDelays",
                  1000,
                  {10, 3, 20},
                  true,
                  {{60, 0}, {40, 0}, {1, 1}, {100, 1}, {1, 2}, {150, 2}, {50, 2}, {1, 0}}},
        ClockCase{"ZeroDelays", 1000, {0, 0}, true, {{100, 0}, {1, 1}, {100, 1}, {1, 0}}},
        // The new frame gets its full delay from this call; the overrun is dropped.
        ClockCase{
            "LongIdleMovesOneFrame", 1000, {10, 10, 10, 10}, true, {{10000, 1}, {100, 1}, {1, 2}}},
        ClockCase{"SingleFrameReloads", 1000, {50}, false, {{1, 0}, {500, 0}, {1, 0}}},
        ClockCase{"UnsetTimeRunsOutAtOnce", 1000, {10, 10}, false, {{0, 0}, {1, 1}}},
        // 256 ms to the wrap and 80 after it: 336 of the 340 ms are used up.
        ClockCase{"TickCountWrap", 0xFFFFFFFFu - 255, {34, 10}, true, {{336, 0}, {4, 0}, {1, 1}}}),
    [](const ::testing::TestParamInfo<ClockCase>& info) { return info.param.name; });

TEST(TickHandler, MissingIndexesAnswerFrameZero) {
    FakeClock time;
    CAvtrPart part;
    part.m_vecDelays = {1, 1};
    part.m_vecFrames.assign(2, nullptr);
    CAvtrTickHandler clock;
    EXPECT_EQ(0u, clock.getNowFrameNo(0));
    clock.SetSize(2);
    time.Advance(1);
    clock.FrameMove(1, &part);
    ASSERT_EQ(1u, clock.getNowFrameNo(1));
    EXPECT_EQ(0u, clock.getNowFrameNo(-1));
    EXPECT_EQ(0u, clock.getNowFrameNo(2));
}

}  // namespace
