// Test hooks of the platform layer (non-Windows builds only). Tests and the demo
// use them to make time, the display and the system deterministic and to read
// back what was drawn.
#pragma once

#ifdef _WIN32
#error "platform/testing.h is for the POSIX platform layer only"
#endif

#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace kvplatform {

// GetTickCount reads this source; an empty function restores the real clock.
void SetTickSource(std::function<DWORD()> source);

// Bits per pixel of the screen and of compatible bitmaps (32 unless set; 16 also works;
// 8 is reported by the screen DC, while bitmaps stay 32 bits).
void SetScreenDepth(int bitsPerPixel);

// GetVersionExA reports a non-NT system while set.
void SetPretendNonNt(bool nonNt);

// OutputDebugStringA hands each string to this sink; an empty function restores stderr.
void SetDebugOutputSink(std::function<void(const char*)> sink);

// The registry file; an empty path restores the default ($KVAVTR_REGISTRY, then
// $XDG_CONFIG_HOME/kvavtr/registry.ini, then ~/.config/kvavtr/registry.ini).
void SetRegistryFile(const std::string& path);

// The pixels of the bitmap selected into a DC (or of a window or screen canvas),
// as COLORREF values, rows top first. False for an unknown DC.
bool ReadDcPixels(HDC hdc, int& width, int& height, std::vector<COLORREF>& pixels);

// The POSIX path a Windows path resolves to (separators, case-insensitive components).
std::string TranslatePath(const char* windowsPath);

// URLDownloadToFileA's connect time-out and stall time (no byte for that long); 0 restores 5 s.
void SetDownloadTimeouts(int connectMs, int stallMs);

}  // namespace kvplatform
