// cKvAnigifList: plays an animated GIF. Frames come from the decoder, each made
// the size of the logical screen (screen width rounded up to even), so one
// bitmap header describes every frame's store. Drawn by polling (Flip) or by an
// animation thread that posts message 1060 to a window at each frame step.
#pragma once

#include <atomic>
#include <vector>

#include "platform/win32.h"

class CKvAImage;

// A window for an animated GIF, a device context for a still one (see Start).
union HWNDORHDC {
    HWND hwnd;
    HDC hdc;
};

// The message the animation thread posts (wParam 0) at each frame step.
constexpr UINT kAnigifFrameMessage = WM_USER + 0x24;

class cKvAnigifList {
public:
    cKvAnigifList();
    // Copies own their frames; a copy does not animate.
    cKvAnigifList(const cKvAnigifList& other);
    cKvAnigifList& operator=(const cKvAnigifList& other);
    ~cKvAnigifList();

    // 1 when the file gave at least one frame. The window is not used.
    int Load(const char* path, HWND window);
    int getFrameCount();
    int getNowFrameNum();
    SIZE GetSize();
    int IsAnimatedGIF();
    unsigned long GetDelay(int frame);

    int Draw(HDC dc, int x, int y);
    // Draws nothing and returns 0 for an index outside the list.
    int Draw(int frame, HDC dc, int x, int y);
    int DrawSelected(HDC dc, int x, int y);
    int Flip(HDC dc, int x, int y);
    int DrawAnimation(HDC dc, int x, int y);

    // Row tables list the caller's rows from the bottom of its picture upward.
    int Draw(unsigned char** rows, int x, int y, int width, int height);
    int Flip(unsigned char** rows, int x, int y, int width, int height);
    int DrawAnimation(unsigned char** rows, int x, int y, int width, int height);
    int DrawSelected(unsigned char** rows, int x, int y, int width, int height);

    int Start(HWNDORHDC target, int x, int y);
    int Stop();
    int ThreadAnimation(HWND window, int x, int y);
    int Destroy();
    int SetTransparentColor(unsigned long color);
    // Replaces this player's frames and timing with those of a loaded player, which
    // is left empty; m_msgParam stays, so a loader can hand its result to a player
    // whose owner may be setting it.
    void TakeFrames(cKvAnigifList& loaded);

    BITMAPINFO m_bmi;
    std::vector<CKvAImage*> m_frames;
    std::vector<unsigned long> m_delays;
    unsigned long m_defaultDelay;
    int m_width;
    int m_height;
    // Shared with the animation thread.
    std::atomic<int> m_nowFrame;
    int m_isAnimated;
    std::atomic<int> m_stop;
    HANDLE m_thread;
    HANDLE m_stopEvent;
    HWND m_target;
    int m_x;
    int m_y;
    std::atomic<int> m_loopsDone;
    std::atomic<int> m_loopCount;
    DWORD m_lastTick;
    LPARAM m_msgParam;

private:
    // Header, sizes, frame position, loops and delays other than the lists.
    void CopyTiming(const cKvAnigifList& other);
    void CopyFrom(const cKvAnigifList& other);
    // Brings m_nowFrame into range; the frame then current, or null.
    CKvAImage* CurrentFrame();
    // The loop rules once m_nowFrame has passed the last frame.
    void StepFrame();
    void TimedStep();
    void DrawMasked(CKvAImage& frame, HDC dc, int x, int y, bool selected);
};
