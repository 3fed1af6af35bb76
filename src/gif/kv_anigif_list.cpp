#include "gif/kv_anigif_list.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/avatar_log.h"
#include "gif/frame_delay.h"
#include "gif/kv_ani_dib_list.h"
#include "imaging/kv_aimage.h"
#include "imaging/pixel.h"

namespace {

// A new width x height image holding the overlap of src at its top left and the
// key everywhere else; null when it cannot be allocated.
CKvAImage* FittedCopy(const CKvAImage& src, int width, int height) {
    auto* image = new (std::nothrow) CKvAImage;
    if (image == nullptr || !image->Create(width, height)) {
        delete image;
        return nullptr;
    }
    const int columns = std::min(width, src.GetWidth());
    const int rows = std::min(height, src.GetHeight());
    for (int row = 0; row < height; ++row) {
        auto* dst = reinterpret_cast<WORD*>(image->GetBits(row));
        int column = 0;
        if (row < rows) {
            std::memcpy(dst, src.GetBits(row), static_cast<size_t>(columns) * sizeof(WORD));
            column = columns;
        }
        std::fill(dst + column, dst + width, kvpixel::kKeyPixel);
    }
    return image;
}

DWORD WINAPI AnimationThread(LPVOID player) {
    auto* self = static_cast<cKvAnigifList*>(player);
    self->ThreadAnimation(self->m_target, self->m_x, self->m_y);
    return 0;
}

}  // namespace

cKvAnigifList::cKvAnigifList()
    : m_bmi{},
      m_defaultDelay(0),
      m_width(0),
      m_height(0),
      m_nowFrame(0),
      m_isAnimated(0),
      m_stop(0),
      m_thread(nullptr),
      m_stopEvent(nullptr),
      m_target(nullptr),
      m_x(0),
      m_y(0),
      m_loopsDone(0),
      m_loopCount(0),
      m_lastTick(0),
      m_msgParam(0) {
    m_bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    m_bmi.bmiHeader.biPlanes = 1;
    m_bmi.bmiHeader.biBitCount = 16;
    m_bmi.bmiHeader.biCompression = BI_RGB;
}

cKvAnigifList::cKvAnigifList(const cKvAnigifList& other) : cKvAnigifList() {
    CopyFrom(other);
}

cKvAnigifList& cKvAnigifList::operator=(const cKvAnigifList& other) {
    if (this != &other) {
        Destroy();
        CopyFrom(other);
    }
    return *this;
}

cKvAnigifList::~cKvAnigifList() {
    Destroy();
}

void cKvAnigifList::CopyTiming(const cKvAnigifList& other) {
    m_bmi = other.m_bmi;
    m_defaultDelay = other.m_defaultDelay;
    m_width = other.m_width;
    m_height = other.m_height;
    m_nowFrame = other.m_nowFrame.load();
    m_isAnimated = other.m_isAnimated;
    m_loopsDone = other.m_loopsDone.load();
    m_loopCount = other.m_loopCount.load();
    m_lastTick = other.m_lastTick;
}

void cKvAnigifList::CopyFrom(const cKvAnigifList& other) {
    CopyTiming(other);
    for (CKvAImage* frame : other.m_frames) {
        m_frames.push_back(
            frame != nullptr ? FittedCopy(*frame, frame->GetWidth(), frame->GetHeight()) : nullptr);
    }
    m_delays = other.m_delays;
    m_target = other.m_target;
    m_x = other.m_x;
    m_y = other.m_y;
    m_msgParam = other.m_msgParam;
}

int cKvAnigifList::Load(const char* path, HWND /*window*/) {
    // Frames of an earlier load would otherwise be lost with the list.
    Destroy();
    cKvAniDIBList decoder;
    if (decoder.Load(path) == 0 || decoder.m_screenWidth <= 0 || decoder.m_screenHeight <= 0) {
        return 0;
    }
    std::vector<CKvAImage*> frames;
    decoder.exportImageList(frames, m_delays);
    decoder.m_ownsFrames = false;
    m_height = decoder.m_screenHeight;
    m_width = decoder.m_screenWidth + (decoder.m_screenWidth & 1);
    // Frames take the first image's size; fitted to the screen, every store
    // matches the header and no blit reads outside one.
    for (CKvAImage* frame : frames) {
        if (frame != nullptr && (frame->GetWidth() != m_width || frame->GetHeight() != m_height)) {
            CKvAImage* fitted = FittedCopy(*frame, m_width, m_height);
            delete frame;
            frame = fitted;
        }
        m_frames.push_back(frame);
    }
    m_loopCount = decoder.m_loopCount;
    m_defaultDelay = decoder.m_gcDelay;
    m_loopsDone = 0;
    m_lastTick = GetTickCount();
    m_isAnimated = m_frames.size() >= 2 ? 1 : 0;
    m_bmi.bmiHeader.biWidth = m_width;
    m_bmi.bmiHeader.biHeight = -m_height;
    m_nowFrame = 0;
    return 1;
}

int cKvAnigifList::getFrameCount() {
    return static_cast<int>(m_frames.size());
}

int cKvAnigifList::getNowFrameNum() {
    return m_nowFrame;
}

SIZE cKvAnigifList::GetSize() {
    return {m_width, m_height};
}

int cKvAnigifList::IsAnimatedGIF() {
    return m_isAnimated;
}

unsigned long cKvAnigifList::GetDelay(int frame) {
    if (frame >= 0 && static_cast<size_t>(frame) < m_delays.size()) {
        return m_delays[static_cast<size_t>(frame)];
    }
    return m_defaultDelay;
}

CKvAImage* cKvAnigifList::CurrentFrame() {
    const int count = getFrameCount();
    if (m_nowFrame < 0 || m_nowFrame >= count) {
        m_nowFrame = 0;
    }
    return count > 0 ? m_frames[static_cast<size_t>(m_nowFrame.load())] : nullptr;
}

void cKvAnigifList::StepFrame() {
    const int last = std::max(getFrameCount() - 1, 0);
    if (m_loopCount == -1) {
        m_nowFrame = last;
        return;
    }
    if (++m_nowFrame != getFrameCount()) {
        return;
    }
    if (m_loopCount == 0) {
        m_nowFrame = 0;
    } else if (++m_loopsDone < m_loopCount) {
        m_nowFrame = 0;
    } else {
        m_loopCount = -1;
        m_nowFrame = last;
    }
}

void cKvAnigifList::TimedStep() {
    const DWORD now = GetTickCount();
    const DWORD wait = FrameDelayMs(GetDelay(m_nowFrame));
    if (m_loopCount == -1) {
        StepFrame();
        return;
    }
    if (now - m_lastTick <= wait) {
        return;
    }
    StepFrame();
    m_lastTick = now;
}

int cKvAnigifList::Flip(HDC dc, int x, int y) {
    const int drawn = Draw(dc, x, y);
    TimedStep();
    return drawn;
}

int cKvAnigifList::DrawAnimation(HDC /*dc*/, int /*x*/, int /*y*/) {
    return 1;
}

int cKvAnigifList::Draw(unsigned char** rows, int x, int y, int width, int height) {
    if (m_frames.empty()) {
        AvatarLog("KVAVTR:: [avtr] No Image to draw !!\n");
        return 0;
    }
    const CKvAImage* frame = CurrentFrame();
    if (frame == nullptr) {
        return 0;
    }
    const int frameWidth = frame->GetWidth();
    const int frameHeight = frame->GetHeight();
    if (height <= 0 || height > frameHeight) {
        height = frameHeight;
    }
    if (width <= 0 || width > frameWidth) {
        width = frameWidth;
    }
    for (int k = 0; k < height; ++k) {
        auto* dst = reinterpret_cast<WORD*>(rows[y + k]);
        const auto* src = reinterpret_cast<const WORD*>(frame->GetBits(frameHeight - 1 - k));
        // Addresses print as the 32-bit values the line was made for.
        AvatarLog("DRAWING AVATAR DIB:: ( %d )  des:%x(%x), src:%x \n", y + k,
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(dst)),
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(rows) + 16u * (y + k)),
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(src)));
        for (int i = 0; i < width; ++i) {
            if (src[i] != kvpixel::kKeyPixel) {
                dst[x + i] = src[i];
            }
        }
    }
    return 1;
}

int cKvAnigifList::Flip(unsigned char** rows, int x, int y, int width, int height) {
    Draw(rows, x, y, width, height);
    TimedStep();
    return 1;
}

int cKvAnigifList::DrawAnimation(unsigned char** /*rows*/, int /*x*/, int /*y*/, int /*width*/,
                                 int /*height*/) {
    if (m_frames.empty()) {
        AvatarLog("KVAVTR:: [avtr] No Image to draw !!\n");
        return 0;
    }
    CurrentFrame();
    return 1;
}

int cKvAnigifList::DrawSelected(unsigned char** /*rows*/, int /*x*/, int /*y*/, int /*width*/,
                                int /*height*/) {
    return 1;
}

int cKvAnigifList::Start(HWNDORHDC target, int x, int y) {
    if (m_isAnimated == 0) {
        Draw(0, target.hdc, x, y);
        return 1;
    }
    if (m_stopEvent != nullptr) {
        Stop();
    }
    m_target = target.hwnd;
    m_x = x;
    m_y = y;
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, AnimationThread, this, CREATE_SUSPENDED, nullptr);
    if (m_thread == nullptr) {
        Stop();
        return 0;
    }
    SetThreadPriority(m_thread, THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(m_thread);
    return 1;
}

int cKvAnigifList::Stop() {
    m_stop = 1;
    if (m_stopEvent != nullptr) {
        SetEvent(m_stopEvent);
    }
    if (m_thread != nullptr) {
        // The thread only sleeps on the event, so it ends at once; closing and
        // freeing under a thread still running would hand it freed frames.
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    if (m_stopEvent != nullptr) {
        ResetEvent(m_stopEvent);
        CloseHandle(m_stopEvent);
        m_stopEvent = nullptr;
    }
    m_stop = 0;
    return 1;
}

int cKvAnigifList::ThreadAnimation(HWND window, int /*x*/, int /*y*/) {
    m_nowFrame = 0;
    // Without the stop event nothing could wake the thread for Stop.
    if (m_stop != 0 || m_stopEvent == nullptr) {
        return 1;
    }
    while (m_stop == 0) {
        if (window != nullptr && IsWindow(window)) {
            PostMessageA(window, kAnigifFrameMessage, 0, m_msgParam);
        }
        WaitForSingleObject(m_stopEvent, FrameDelayMs(GetDelay(m_nowFrame)));
        if (m_stop != 0) {
            break;
        }
        StepFrame();
    }
    return 1;
}

int cKvAnigifList::Destroy() {
    Stop();
    for (CKvAImage* frame : m_frames) {
        delete frame;
    }
    std::vector<CKvAImage*>().swap(m_frames);
    std::vector<unsigned long>().swap(m_delays);
    return 1;
}

void cKvAnigifList::TakeFrames(cKvAnigifList& loaded) {
    Destroy();
    m_frames.swap(loaded.m_frames);
    m_delays.swap(loaded.m_delays);
    CopyTiming(loaded);
    loaded.m_isAnimated = 0;
}

int cKvAnigifList::SetTransparentColor(unsigned long /*color*/) {
    return 1;
}
