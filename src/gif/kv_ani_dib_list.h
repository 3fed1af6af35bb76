// cKvAniDIBList: decodes a GIF file into complete 16-bit frames (each composed
// onto the frames before it) and their delays. Pixels no frame painted hold the
// key 0x001F.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "imaging/lsp_sprite.h"

class CKvAImage;
namespace kvgif {
struct DecodeState;
struct ReleaseFileBytes;
enum class GifError;
}  // namespace kvgif

class cKvAniDIBList {
public:
    cKvAniDIBList();
    // Copies would share the frames and the file data; nothing copies a decoder.
    cKvAniDIBList(const cKvAniDIBList&) = delete;
    cKvAniDIBList& operator=(const cKvAniDIBList&) = delete;
    virtual ~cKvAniDIBList();

    // Reads the file once and decodes every image; 1 when at least one frame was
    // decoded. Frames and delays of an earlier Load stay and new ones follow.
    int Load(const char* path);
    // Load for a file that is already in memory.
    int LoadFromMemory(const unsigned char* bytes, size_t size);
    // Decodes all images from the start of the data; 1 when the first one decoded.
    int Copy();
    // Scans to the next image and decodes it; 0 at the end or on an error.
    int NextImage();
    // Decodes the image whose descriptor starts at the read position.
    int TakeIt();
    // The image data's next byte and next code, and one index stored at the output
    // cursor, on the reader and cursor of the image being decoded.
    unsigned char GetByte();
    unsigned short GetCode();
    void Output(unsigned char index);

    // Both lists as they stand; the images stay shared with the decoder.
    void exportImageList(std::vector<CKvAImage*>& frames, std::vector<unsigned long>& delays);
    // Appends one keyed sprite per frame (null where one cannot be allocated); the
    // caller frees them with lsp::FreeSprite.
    void exportImageList(std::vector<lsp::SPRITE*>& sprites, std::vector<unsigned long>& delays);

    // Why the last load, image or block failed (kNone when nothing has); each
    // failure is also written to the debug log.
    kvgif::GifError LastError() const;

    // Set: the destructor deletes the frames. Cleared by a consumer keeping them.
    bool m_ownsFrames;
    int m_screenWidth;
    int m_screenHeight;
    int m_loopCount;
    // Delay of the graphic control extension in force, hundredths of a second.
    unsigned long m_gcDelay;

private:
    // Takes the whole file's bytes (size of them, one spare byte allowed).
    int LoadFile(std::unique_ptr<unsigned char[], kvgif::ReleaseFileBytes> file, size_t size);
    bool ReadExtension();
    void AddFrame(CKvAImage* frame);
    // Records why, logs it, and gives 0 for the caller to return.
    int Fail(kvgif::GifError error);

    std::unique_ptr<kvgif::DecodeState> m_state;
    std::vector<CKvAImage*> m_frames;
    std::vector<unsigned long> m_delays;
};
