// Drives GetTickCount from the test for the life of the object.
#pragma once

#include "platform/testing.h"
#include "platform/win32.h"

class FakeClock {
public:
    explicit FakeClock(DWORD start = 1000) : m_now(start) {
        kvplatform::SetTickSource([this] { return m_now; });
    }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
    ~FakeClock() { kvplatform::SetTickSource({}); }

    void Advance(DWORD ms) { m_now += ms; }

private:
    DWORD m_now;
};
