// CAvtrTickHandler: the frame clock of one layered avatar. One entry per position
// of the avatar's part list: the frame shown, the time left on it and the tick of
// the last update. It has no timer; it moves only when the avatar draws.
#pragma once

#include <vector>

#include "gif/frame_delay.h"

class CAvtrPart;

class CAvtrTickHandler {
public:
    CAvtrTickHandler() = default;
    CAvtrTickHandler(const CAvtrTickHandler&) = default;
    CAvtrTickHandler& operator=(const CAvtrTickHandler&) = default;
    ~CAvtrTickHandler();

    // Every entry on frame 0 with 0 ms left, last tick = now.
    void SetSize(int n);
    // Time left on entry i from a frame delay in hundredths of a second.
    void SetDelay(int i, unsigned long delay);
    // Moves entry i on by at most one frame once its time has run out.
    void FrameMove(int i, CAvtrPart* part);
    // 0 for an index that does not exist.
    unsigned long getNowFrameNo(int i);
    void clear();

private:
    std::vector<unsigned long> m_vecLastTick;
    std::vector<unsigned long> m_vecFrameNo;
    std::vector<unsigned long> m_vecRemain;
};
