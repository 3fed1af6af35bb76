#include <gtest/gtest.h>

#include <vector>

#include "fake_clock.h"
#include "layered/avtr_tick_handler.h"
#include "parts/avtr_part.h"

namespace {

// Frames are never drawn by the clock; only their number and delays matter.
void GiveDelays(CAvtrPart& part, const std::vector<unsigned long>& delays) {
    part.m_vecDelays = delays;
    part.m_vecFrames.assign(delays.size(), nullptr);
}

struct Step {
    DWORD advance;
    unsigned long frame;
};

// Drives entry 0 through the steps, each an advance followed by one FrameMove.
void ExpectFrames(CAvtrTickHandler& clock, FakeClock& time, CAvtrPart& part,
                  const std::vector<Step>& steps) {
    for (size_t n = 0; n < steps.size(); ++n) {
        time.Advance(steps[n].advance);
        clock.FrameMove(0, &part);
        EXPECT_EQ(steps[n].frame, clock.getNowFrameNo(0)) << "step " << n;
    }
}

TEST(TickHandler, ThreeFramesWithTheirOwnDelays) {
    FakeClock time;
    CAvtrPart part;
    GiveDelays(part, {10, 3, 20});
    CAvtrTickHandler clock;
    clock.SetSize(1);
    clock.SetDelay(0, 10);
    // Exactly run out is not yet out; 3 hundredths count as 100 ms.
    ExpectFrames(clock, time, part,
                 {{60, 0}, {40, 0}, {1, 1}, {100, 1}, {1, 2}, {150, 2}, {50, 2}, {1, 0}});
}

TEST(TickHandler, ZeroDelaysStepEveryHundredMilliseconds) {
    FakeClock time;
    CAvtrPart part;
    GiveDelays(part, {0, 0});
    CAvtrTickHandler clock;
    clock.SetSize(1);
    clock.SetDelay(0, 0);
    ExpectFrames(clock, time, part, {{100, 0}, {1, 1}, {100, 1}, {1, 0}});
}

TEST(TickHandler, LongIdleMovesOneFrameOnly) {
    FakeClock time;
    CAvtrPart part;
    GiveDelays(part, {10, 10, 10, 10});
    CAvtrTickHandler clock;
    clock.SetSize(1);
    clock.SetDelay(0, 10);
    // The new frame gets its full delay from this call; the overrun is dropped.
    ExpectFrames(clock, time, part, {{10000, 1}, {100, 1}, {1, 2}});
}

TEST(TickHandler, SingleFrameReloadsItsTime) {
    FakeClock time;
    CAvtrPart part;
    GiveDelays(part, {50});
    CAvtrTickHandler clock;
    clock.SetSize(1);
    ExpectFrames(clock, time, part, {{1, 0}, {500, 0}, {1, 0}});
}

TEST(TickHandler, UnsetTimeMovesOnAfterOneMillisecond) {
    FakeClock time;
    CAvtrPart part;
    GiveDelays(part, {10, 10});
    CAvtrTickHandler clock;
    clock.SetSize(1);
    ExpectFrames(clock, time, part, {{0, 0}, {1, 1}});
}

TEST(TickHandler, WrapOfTheTickCountCountsTheTrueElapsedTime) {
    FakeClock time(0xFFFFFFFFu - 255);
    CAvtrPart part;
    GiveDelays(part, {34, 10});
    CAvtrTickHandler clock;
    clock.SetSize(1);
    clock.SetDelay(0, 34);
    // 256 ms to the wrap and 80 after it: 336 of the 340 ms are used up.
    time.Set(80);
    clock.FrameMove(0, &part);
    EXPECT_EQ(0u, clock.getNowFrameNo(0));
    ExpectFrames(clock, time, part, {{4, 0}, {1, 1}});
}

TEST(TickHandler, MissingIndexesAnswerFrameZero) {
    FakeClock time;
    CAvtrPart part;
    GiveDelays(part, {1, 1});
    CAvtrTickHandler clock;
    EXPECT_EQ(0u, clock.getNowFrameNo(0));
    clock.SetSize(2);
    time.Advance(1);
    clock.FrameMove(1, &part);
    ASSERT_EQ(1u, clock.getNowFrameNo(1));
    EXPECT_EQ(0u, clock.getNowFrameNo(-1));
    EXPECT_EQ(0u, clock.getNowFrameNo(2));
    clock.clear();
    EXPECT_EQ(0u, clock.getNowFrameNo(1));
}

}  // namespace
