#include "gif/kv_ani_dib_list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "base/avatar_log.h"
#include "gif/gif_decode_state.h"
#include "gif/gif_limits.h"
#include "gif/gif_lzw.h"
#include "imaging/block_pool.h"
#include "imaging/kv_aimage.h"
#include "imaging/lsp_sprite.h"
#include "platform/whole_file.h"
#include "platform/win32.h"

namespace {

using kvgif::GifError;

constexpr size_t kHeaderBytes = 13;

enum BlockByte : unsigned char {
    kImageSeparator = 0x2C,
    kExtensionIntroducer = 0x21,
    kTrailer = 0x3B,
};

enum ExtensionLabel : unsigned char {
    kGraphicControl = 0xF9,
    kApplication = 0xFF,
    kComment = 0xFE,
    kPlainText = 0x01,
};

int ReadLe16(const unsigned char* bytes) {
    return bytes[0] | (bytes[1] << 8);
}

bool IsGifHeader(const unsigned char* header, size_t size) {
    return size >= kHeaderBytes && std::memcmp(header, "GIF8", 4) == 0 &&
           (header[4] == '7' || header[4] == '9') && header[5] == 'a';
}

// Number of colours of a colour table whose size field is the low three bits.
int TableEntries(unsigned char packed) {
    return 2 << (packed & 7);
}

// Image data bytes in the sub-block chain at the cursor, up to the end of the data.
// The scan moves forward at each step, so it ends.
int64_t SubBlockDataBytes(const kvgif::DataCursor& cursor) {
    int64_t bytes = 0;
    size_t pos = cursor.pos;
    while (pos < cursor.length && cursor.data[pos] != 0) {
        const size_t size = cursor.data[pos];
        bytes += static_cast<int64_t>(std::min(size, cursor.length - pos - 1));
        pos += 1 + size;
    }
    return bytes;
}

// Skips data sub-blocks up to their terminator, which stays unread; false when
// they run past the data. Each step consumes at least one byte, so the loop ends.
bool SkipSubBlocks(kvgif::DataCursor& data) {
    while (data.pos < data.length) {
        const size_t size = data.data[data.pos];
        if (size == 0) {
            return true;
        }
        if (!data.Skip(1 + size)) {
            return false;
        }
    }
    return false;
}

// Columns or rows of an image at offset with count of them that land on a canvas
// side of size.
int Kept(int offset, int count, int size) {
    return std::clamp(size - offset, 0, count);
}

}  // namespace

cKvAniDIBList::cKvAniDIBList()
    : m_ownsFrames(true),
      m_screenWidth(0),
      m_screenHeight(0),
      m_loopCount(1),
      m_gcDelay(0),
      m_state(new (std::nothrow) kvgif::DecodeState) {}

cKvAniDIBList::~cKvAniDIBList() {
    if (m_ownsFrames) {
        for (CKvAImage* frame : m_frames) {
            delete frame;
        }
    }
}

kvgif::GifError cKvAniDIBList::LastError() const {
    return m_state != nullptr ? m_state->lastError : GifError::kNoMemory;
}

int cKvAniDIBList::Fail(GifError error) {
    if (m_state != nullptr) {
        m_state->lastError = error;
    }
    AvatarLog("KVAVTR:: GIF: %s\n", kvgif::GifErrorMessage(error));
    return 0;
}

int cKvAniDIBList::Load(const char* path) {
    kvplatform::WholeFile file(path, FILE_SHARE_READ, ~DWORD{0});
    if (!file.Read()) {
        return Fail(GifError::kNoFile);
    }
    const size_t size = file.Size();
    return LoadFile(kvgif::FileBytes(file.Take().release()), size);
}

int cKvAniDIBList::LoadFromMemory(const unsigned char* bytes, size_t size) {
    if (bytes == nullptr) {
        return Fail(GifError::kNoFile);
    }
    // Pooled, like the frames: a host decoding from memory again and again writes
    // the same pages.
    const size_t copyBytes = size + 1;
    kvgif::FileBytes copy(static_cast<unsigned char*>(kvimaging::TakeBlock(copyBytes)),
                          kvgif::ReleaseFileBytes{copyBytes});
    if (!copy) {
        return Fail(GifError::kNoMemory);
    }
    std::memcpy(copy.get(), bytes, size);
    return LoadFile(std::move(copy), size);
}

int cKvAniDIBList::LoadFile(kvgif::FileBytes file, size_t size) {
    if (m_state == nullptr) {
        return Fail(GifError::kNoMemory);
    }
    kvgif::DecodeState& state = *m_state;
    // An earlier file's data goes; its frames, graphic control and disposal stay.
    state.globalTable.clear();
    state.globalCount = 0;
    state.fileData.reset();
    state.data = kvgif::DataCursor{};
    m_loopCount = 1;
    const unsigned char* header = file.get();
    if (!IsGifHeader(header, size)) {
        return Fail(GifError::kNotGif);
    }
    // The screen size allocates nothing, so it is not checked against any limit.
    m_screenWidth = ReadLe16(header + 6);
    m_screenHeight = ReadLe16(header + 8);
    state.previous.rect = {0, 0, m_screenWidth, m_screenHeight};
    const unsigned char packed = header[10];
    size_t tableBytes = 0;
    if (packed & 0x80) {
        const int entries = TableEntries(packed);
        tableBytes = 3 * static_cast<size_t>(entries);
        if (size - kHeaderBytes < tableBytes) {
            return Fail(GifError::kShortColorTable);
        }
        state.globalTable.assign(header + kHeaderBytes, header + kHeaderBytes + tableBytes);
        state.globalCount = entries;
    }
    state.fileData = std::move(file);
    state.data.data = state.fileData.get() + kHeaderBytes + tableBytes;
    state.data.length = size - kHeaderBytes - tableBytes;
    state.data.pos = 0;
    return Copy();
}

int cKvAniDIBList::Copy() {
    if (m_state == nullptr || m_state->fileData == nullptr) {
        return 0;
    }
    m_state->data.pos = 0;
    int first = NextImage();
    if (first) {
        while (NextImage()) {
        }
    }
    m_state->work.Release();
    m_state->working.Release();
    return first;
}

int cKvAniDIBList::NextImage() {
    if (m_state == nullptr || m_state->fileData == nullptr) {
        return 0;
    }
    kvgif::DataCursor& data = m_state->data;
    if (data.pos >= data.length) {
        data.pos = 0;
        return 0;
    }
    const unsigned char* block;
    while (data.Take(1, block)) {
        switch (*block) {
            case kImageSeparator:
                return TakeIt();
            case kTrailer:
            case 0x00:
                data.pos = 0;
                return 0;
            case kExtensionIntroducer:
                if (!ReadExtension()) {
                    return 0;
                }
                break;
            default:
                return Fail(GifError::kUnknownBlock);
        }
    }
    return 0;
}

bool cKvAniDIBList::ReadExtension() {
    kvgif::DataCursor& data = m_state->data;
    const unsigned char* label;
    if (!data.Take(1, label)) {
        return Fail(GifError::kShortExtension);
    }
    switch (*label) {
        case kGraphicControl: {
            // The block size byte is not read: the block always has four data bytes.
            const unsigned char* fields;
            if (!data.Skip(1) || !data.Take(4, fields)) {
                return Fail(GifError::kShortExtension);
            }
            kvgif::GraphicControl& control = m_state->graphicControl;
            control.disposal = (fields[0] >> 2) & 7;
            control.transparent = (fields[0] & 1) != 0;
            m_gcDelay = static_cast<unsigned long>(ReadLe16(fields + 1));
            control.transparentIndex = fields[3];
            break;
        }
        case kApplication:
            // Whatever the identifier says, a first sub-block of three bytes holds the
            // loop count.
            if (!data.Skip(12)) {
                return Fail(GifError::kShortExtension);
            }
            if (data.Remaining() >= 4 && data.data[data.pos] == 3) {
                m_loopCount = ReadLe16(data.data + data.pos + 2);
            }
            if (!SkipSubBlocks(data)) {
                return Fail(GifError::kShortExtension);
            }
            break;
        case kComment:
            if (!SkipSubBlocks(data)) {
                return Fail(GifError::kShortExtension);
            }
            break;
        case kPlainText:
            if (!data.Skip(13) || !SkipSubBlocks(data)) {
                return Fail(GifError::kShortExtension);
            }
            break;
        default:
            return Fail(GifError::kUnknownExtension);
    }
    // The block terminator.
    return data.Skip(1) || Fail(GifError::kShortExtension);
}

int cKvAniDIBList::TakeIt() {
    if (m_state == nullptr) {
        return 0;
    }
    kvgif::DecodeState& state = *m_state;
    kvgif::DataCursor& data = state.data;
    const unsigned char* descriptor;
    if (!data.Take(9, descriptor)) {
        return Fail(GifError::kShortDescriptor);
    }
    kvgif::ImageDescriptor& image = state.image;
    image = {ReadLe16(descriptor), ReadLe16(descriptor + 2), ReadLe16(descriptor + 4),
             ReadLe16(descriptor + 6), descriptor[8]};
    const bool localTable = (image.packed & 0x80) != 0;
    const int localEntries = localTable ? TableEntries(image.packed) : 0;
    const unsigned char* localColors = nullptr;
    const unsigned char* minimumCodeSize = nullptr;
    if (!data.Take(3 * static_cast<size_t>(localEntries), localColors)) {
        return Fail(GifError::kShortLocalTable);
    }
    if (!data.Take(1, minimumCodeSize)) {
        return Fail(GifError::kShortDescriptor);
    }
    if (*minimumCodeSize > kvgif::kMaxMinimumCodeSize) {
        return Fail(GifError::kCodeSize);
    }
    // Only the part of the image on the canvas is kept, so limits apply to that part;
    // the canvas itself must be makeable before any work is done for it.
    const kvgif::CanvasSize canvas = kvgif::FrameCanvasSize(m_frames, image.width, image.height);
    if (!AImageFits(canvas.width, canvas.height) ||
        state.framePixels + int64_t{canvas.width} * canvas.height > kvgif::kMaxDecoderPixels) {
        return Fail(GifError::kCanvasTooLarge);
    }
    CKvAImage* base = kvgif::ChooseBase(m_frames, state.previous.disposal);
    const int keptColumns = Kept(image.left, image.width, canvas.width);
    const int keptRows = Kept(base != nullptr ? image.top : 0, image.height, canvas.height);
    // The first image's canvas is made from its whole size, so all of it must be
    // backed by data; a later one only fills its part of the canvas.
    const bool first = m_frames.empty();
    if (!kvgif::DataCanFill(first ? image.width : keptColumns, first ? image.height : keptRows,
                            SubBlockDataBytes(data))) {
        return Fail(GifError::kTooLittleData);
    }
    const bool interlaced = (image.packed & 0x40) != 0;
    const int stride =
        kvgif::IndexCursor::RowStride(image.width, image.height, keptColumns, keptRows);
    if (!state.work.Allocate(stride, keptRows)) {
        return Fail(GifError::kNoMemory);
    }

    state.imageColors = localTable ? localEntries : state.globalCount;
    state.work.SetColors(localTable ? localColors : state.globalTable.data(), state.imageColors);
    state.cursor.Start(state.work.Indices(), stride, image.width, image.height, keptColumns,
                       keptRows, interlaced);
    const kvgif::LzwStatus status = kvgif::DecodeLzw(*minimumCodeSize, state.work.StringTable(),
                                                     state.codes, data, state.cursor);
    // GetByte and GetCode go on from there.
    state.reader.Start(data, *minimumCodeSize + 1);
    if (status == kvgif::LzwStatus::kCorruptCode) {
        return Fail(GifError::kCorruptCode);
    }
    const kvgif::DecodedImage decoded{state.work.Indices(),
                                      stride,
                                      image.left,
                                      image.top,
                                      keptColumns,
                                      keptRows,
                                      state.work.ColorTable(),
                                      state.imageColors,
                                      state.graphicControl.transparent,
                                      state.graphicControl.transparentIndex,
                                      state.cursor.passOrder};
    CKvAImage* frame = kvgif::ComposeFrame(base, state.previous, canvas, decoded, state.working);
    if (frame == nullptr) {
        return Fail(GifError::kNoMemory);
    }
    AddFrame(frame);
    data.Skip(1);  // the block terminator, or whatever byte stands there
    return 1;
}

void cKvAniDIBList::AddFrame(CKvAImage* frame) {
    kvgif::DecodeState& state = *m_state;
    m_frames.push_back(frame);
    m_delays.push_back(m_gcDelay);
    state.framePixels += int64_t{frame->GetWidth()} * frame->GetHeight();
    const kvgif::ImageDescriptor& image = state.image;
    state.previous.disposal = state.graphicControl.disposal;
    state.previous.rect = {image.left, image.top, image.left + image.width,
                           image.top + image.height};
}

unsigned char cKvAniDIBList::GetByte() {
    if (m_state == nullptr) {
        return 0xFF;
    }
    return m_state->reader.Byte();
}

unsigned short cKvAniDIBList::GetCode() {
    if (m_state == nullptr) {
        return 0;
    }
    unsigned code = 0;
    m_state->reader.Code(code);
    return static_cast<unsigned short>(code);
}

void cKvAniDIBList::Output(unsigned char index) {
    if (m_state != nullptr) {
        m_state->cursor.Put(index);
    }
}

void cKvAniDIBList::exportImageList(std::vector<CKvAImage*>& frames,
                                    std::vector<unsigned long>& delays) {
    frames = m_frames;
    delays = m_delays;
}

void cKvAniDIBList::exportImageList(std::vector<lsp::SPRITE*>& sprites,
                                    std::vector<unsigned long>& delays) {
    delays = m_delays;
    sprites.reserve(sprites.size() + m_frames.size());
    for (CKvAImage* frame : m_frames) {
        sprites.push_back(lsp::MakeKeyedSpriteFromImage(*frame));
    }
}
