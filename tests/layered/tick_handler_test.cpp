#include <gtest/gtest.h>

#include <vector>

#include "layered/avtr_tick_handler.h"
#include "layered_fixture.h"
#include "parts/avtr_part.h"

namespace {

using layered_test::FakeClock;

// Exactly run out is not yet out; delays below 5 hundredths count as 100 ms.
TEST(TickHandler, ShowsTheExpectedFrameAfterEachMove) {
    const struct {
        DWORD start;
        std::vector<unsigned long> delays;
        bool setDelay;                                       // SetDelay(0, delays[0]) first
        std::vector<std::pair<DWORD, unsigned long>> steps;  // advance, then the frame shown
    } cases[] = {{1000,
                  {10, 3, 20},
                  true,
                  {{60, 0}, {40, 0}, {1, 1}, {100, 1}, {1, 2}, {150, 2}, {50, 2}, {1, 0}}},
                 {1000, {0, 0}, true, {{100, 0}, {1, 1}, {100, 1}, {1, 0}}},
                 // The new frame gets its full delay from this call; the overrun is dropped.
                 {1000, {10, 10, 10, 10}, true, {{10000, 1}, {100, 1}, {1, 2}}},
                 {1000, {50}, false, {{1, 0}, {500, 0}, {1, 0}}},  // a single frame reloads
                 {1000, {10, 10}, false, {{0, 0}, {1, 1}}},        // unset time runs out at once
                 // 256 ms to the wrap and 80 after it: 336 of the 340 ms are used up.
                 {0xFFFFFFFFu - 255, {34, 10}, true, {{336, 0}, {4, 0}, {1, 1}}}};
    for (const auto& c : cases) {
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
            time.Advance(c.steps[n].first);
            clock.FrameMove(0, &part);
            EXPECT_EQ(c.steps[n].second, clock.getNowFrameNo(0)) << c.delays[0] << " step " << n;
        }
    }
}

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
