// GIF frame delays are kept as the file stores them, in hundredths of a second.
#pragma once

// A frame delay in milliseconds: below 5 counts as 100 ms.
constexpr unsigned long FrameDelayMs(unsigned long delay) {
    return delay < 5 ? 100 : delay * 10;
}
