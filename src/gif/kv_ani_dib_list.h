// cKvAniDIBList: decodes a GIF file into complete 16-bit frames (each composed
// onto the frames before it) and their delays. Pixels no frame painted hold the
// key 0x001F.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "gif/gif_compose.h"
#include "gif/gif_index_cursor.h"
#include "gif/gif_stream.h"
#include "gif/gif_work_area.h"
#include "imaging/lsp_sprite.h"

class CKvAImage;

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
    unsigned char GetByte();
    unsigned short GetCode();
    void Output(unsigned char index);

    // Both lists as they stand; the images stay shared with the decoder.
    void exportImageList(std::vector<CKvAImage*>& frames, std::vector<unsigned long>& delays);
    // Appends one keyed sprite per frame (null where one cannot be allocated); the
    // caller frees them with lsp::FreeSprite.
    void exportImageList(std::vector<lsp::SPRITE*>& sprites, std::vector<unsigned long>& delays);

    // Set: the destructor deletes the frames. Cleared by a consumer keeping them.
    bool m_ownsFrames;
    int m_screenWidth;
    int m_screenHeight;
    int m_loopCount;
    // Delay of the graphic control extension in force, hundredths of a second.
    unsigned long m_gcDelay;

private:
    struct GraphicControl {
        int disposal = kvgif::kDisposalNone;
        bool transparent = false;
        unsigned char transparentIndex = 0;
    };
    struct ImageDescriptor {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        unsigned char packed = 0;
    };

    // header: the first 13 bytes; rest: every byte after them.
    int LoadFile(const unsigned char* header, std::unique_ptr<unsigned char[]> rest,
                 size_t restSize);
    void ResetFileData();
    bool ReadExtension();
    bool SkipSubBlocks();
    void AddFrame(kvgif::CanvasSize canvas);
    void EndImage();

    std::vector<unsigned char> m_globalTable;  // red, green, blue per entry
    int m_globalCount;
    std::unique_ptr<unsigned char[]> m_fileData;
    kvgif::DataCursor m_data;

    GraphicControl m_graphicControl;
    kvgif::PreviousFrame m_previous;

    ImageDescriptor m_image;
    int m_imageColors;  // colour table entries of the image being decoded
    kvgif::CodeReader m_reader;
    kvgif::IndexCursor m_cursor;
    kvgif::WorkArea m_work;

    std::vector<CKvAImage*> m_frames;
    std::vector<unsigned long> m_delays;
    int64_t m_framePixels;
};
