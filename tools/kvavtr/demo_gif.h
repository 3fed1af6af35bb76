// Writes the demo's animation frame by frame with giflib: each frame stores only
// the rectangle that changed since the one before, with its own colour table
// (the exact colours when they are at most 256, else giflib's quantizer's).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

namespace kvcli {

class DemoGif {
public:
    DemoGif() = default;
    DemoGif(const DemoGif&) = delete;
    DemoGif& operator=(const DemoGif&) = delete;
    ~DemoGif();

    // Loops for ever. False with the reason in error.
    bool Open(const std::string& path, int width, int height, std::string& error);
    // pixels: width * height values 0x00RRGGBB, rows top first.
    bool AddFrame(const std::vector<uint32_t>& pixels, int delayCs, std::string& error);
    bool Close(std::string& error);
    int frames() const { return m_frames; }

private:
    GifFileType* m_gif = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_frames = 0;
    std::vector<uint32_t> m_previous;
};

}  // namespace kvcli
