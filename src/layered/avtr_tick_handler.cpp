#include "layered/avtr_tick_handler.h"

#include <cstdint>

#include "parts/avtr_part.h"
#include "platform/win32.h"

namespace {

// Tick arithmetic is modulo 2^32 whatever the width of unsigned long, so the
// tick count's wrap after 49.7 days costs nothing.
uint32_t Ticks32(unsigned long value) {
    return static_cast<uint32_t>(value);
}

}  // namespace

CAvtrTickHandler::~CAvtrTickHandler() {
    clear();
}

void CAvtrTickHandler::SetSize(int n) {
    const size_t size = n > 0 ? static_cast<size_t>(n) : 0;
    m_vecLastTick.resize(size);
    m_vecFrameNo.resize(size);
    m_vecRemain.resize(size);
    for (size_t i = 0; i < size; ++i) {
        m_vecLastTick[i] = GetTickCount();
        m_vecFrameNo[i] = 0;
        m_vecRemain[i] = 0;
    }
}

void CAvtrTickHandler::SetDelay(int i, unsigned long delay) {
    m_vecRemain[i] = FrameDelayMs(delay);
}

void CAvtrTickHandler::FrameMove(int i, CAvtrPart* part) {
    const uint32_t elapsed = Ticks32(GetTickCount()) - Ticks32(m_vecLastTick[i]);
    const uint32_t left = Ticks32(m_vecRemain[i]) - elapsed;
    if (static_cast<int32_t>(left) < 0) {
        const unsigned long frames = part->m_vecFrames.size();
        const unsigned long next = m_vecFrameNo[i] + 1;
        m_vecFrameNo[i] = next < frames ? next : 0;
        const size_t frame = m_vecFrameNo[i];
        m_vecRemain[i] =
            FrameDelayMs(frame < part->m_vecDelays.size() ? part->m_vecDelays[frame] : 0);
    } else {
        m_vecRemain[i] = left;
    }
    m_vecLastTick[i] = GetTickCount();
}

unsigned long CAvtrTickHandler::getNowFrameNo(int i) {
    if (i < 0 || static_cast<size_t>(i) >= m_vecFrameNo.size()) {
        return 0;
    }
    return m_vecFrameNo[i];
}

void CAvtrTickHandler::clear() {
    m_vecLastTick.clear();
    m_vecFrameNo.clear();
    m_vecRemain.clear();
}
