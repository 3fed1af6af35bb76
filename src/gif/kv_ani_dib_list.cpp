#include "gif/kv_ani_dib_list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "gif/gif_limits.h"
#include "gif/gif_lzw.h"
#include "imaging/kv_aimage.h"
#include "platform/win32.h"

namespace {

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

bool IsGifHeader(const unsigned char* header) {
    return std::memcmp(header, "GIF8", 4) == 0 && (header[4] == '7' || header[4] == '9') &&
           header[5] == 'a';
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

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (IsOpen()) {
            CloseHandle(m_handle);
        }
    }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

}  // namespace

cKvAniDIBList::cKvAniDIBList()
    : m_ownsFrames(true),
      m_screenWidth(0),
      m_screenHeight(0),
      m_loopCount(1),
      m_gcDelay(0),
      m_globalCount(0),
      m_imageColors(0),
      m_framePixels(0) {}

cKvAniDIBList::~cKvAniDIBList() {
    if (m_ownsFrames) {
        for (CKvAImage* frame : m_frames) {
            delete frame;
        }
    }
}

void cKvAniDIBList::ResetFileData() {
    m_globalTable.clear();
    m_globalCount = 0;
    m_fileData.reset();
    m_data = kvgif::DataCursor{};
    m_reader = kvgif::CodeReader{};
    m_loopCount = 1;
}

int cKvAniDIBList::Load(const char* path) {
    ResetFileData();
    if (path == nullptr) {
        return 0;
    }
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        return 0;
    }
    DWORD sizeHigh = 0;
    const DWORD size = GetFileSize(file.Get(), &sizeHigh);
    if (size == INVALID_FILE_SIZE || sizeHigh != 0) {
        return 0;
    }
    unsigned char header[kHeaderBytes];
    DWORD got = 0;
    if (!ReadFile(file.Get(), header, kHeaderBytes, &got, nullptr) || got != kHeaderBytes ||
        !IsGifHeader(header)) {
        return 0;
    }
    const DWORD restSize = size > kHeaderBytes ? size - kHeaderBytes : 0;
    std::unique_ptr<unsigned char[]> rest(new (std::nothrow) unsigned char[restSize]);
    if (!rest) {
        return 0;
    }
    DWORD restGot = 0;
    if (!ReadFile(file.Get(), rest.get(), restSize, &restGot, nullptr)) {
        return 0;
    }
    return LoadFile(header, std::move(rest), restGot);
}

int cKvAniDIBList::LoadFromMemory(const unsigned char* bytes, size_t size) {
    ResetFileData();
    if (bytes == nullptr || size < kHeaderBytes || !IsGifHeader(bytes)) {
        return 0;
    }
    const size_t restSize = size - kHeaderBytes;
    std::unique_ptr<unsigned char[]> rest(new (std::nothrow) unsigned char[restSize]);
    if (!rest) {
        return 0;
    }
    std::memcpy(rest.get(), bytes + kHeaderBytes, restSize);
    return LoadFile(bytes, std::move(rest), restSize);
}

int cKvAniDIBList::LoadFile(const unsigned char* header, std::unique_ptr<unsigned char[]> rest,
                            size_t restSize) {
    m_screenWidth = ReadLe16(header + 6);
    m_screenHeight = ReadLe16(header + 8);
    m_previous.rect = {0, 0, m_screenWidth, m_screenHeight};
    if (!kvgif::FitsLimits(m_screenWidth, m_screenHeight)) {
        return 0;
    }
    const unsigned char packed = header[10];
    size_t tableBytes = 0;
    if (packed & 0x80) {
        const int entries = TableEntries(packed);
        tableBytes = 3 * static_cast<size_t>(entries);
        if (restSize < tableBytes) {
            return 0;
        }
        m_globalTable.assign(rest.get(), rest.get() + tableBytes);
        m_globalCount = entries;
    }
    m_fileData = std::move(rest);
    m_data.data = m_fileData.get() + tableBytes;
    m_data.length = restSize - tableBytes;
    m_data.pos = 0;
    return Copy();
}

int cKvAniDIBList::Copy() {
    if (m_fileData == nullptr) {
        return 0;
    }
    m_data.pos = 0;
    if (!NextImage()) {
        return 0;
    }
    while (NextImage()) {
    }
    return 1;
}

int cKvAniDIBList::NextImage() {
    if (m_fileData == nullptr) {
        return 0;
    }
    if (m_data.pos >= m_data.length) {
        m_data.pos = 0;
        return 0;
    }
    const unsigned char* block;
    while (m_data.Take(1, block)) {
        switch (*block) {
            case kImageSeparator:
                return TakeIt();
            case kTrailer:
            case 0x00:
                m_data.pos = 0;
                return 0;
            case kExtensionIntroducer:
                if (!ReadExtension()) {
                    return 0;
                }
                break;
            default:
                return 0;
        }
    }
    return 0;
}

bool cKvAniDIBList::ReadExtension() {
    const unsigned char* label;
    if (!m_data.Take(1, label)) {
        return false;
    }
    switch (*label) {
        case kGraphicControl: {
            // The block size byte is not read: the block always has four data bytes.
            const unsigned char* fields;
            if (!m_data.Skip(1) || !m_data.Take(4, fields)) {
                return false;
            }
            m_graphicControl.disposal = (fields[0] >> 2) & 7;
            m_graphicControl.transparent = (fields[0] & 1) != 0;
            m_gcDelay = static_cast<unsigned long>(ReadLe16(fields + 1));
            m_graphicControl.transparentIndex = fields[3];
            break;
        }
        case kApplication: {
            // Whatever the identifier says, a first sub-block of three bytes holds the loop count.
            if (!m_data.Skip(12)) {
                return false;
            }
            if (m_data.Remaining() >= 4 && m_data.data[m_data.pos] == 3) {
                m_loopCount = ReadLe16(m_data.data + m_data.pos + 2);
            }
            if (!SkipSubBlocks()) {
                return false;
            }
            break;
        }
        case kComment:
            if (!SkipSubBlocks()) {
                return false;
            }
            break;
        case kPlainText:
            if (!m_data.Skip(13) || !SkipSubBlocks()) {
                return false;
            }
            break;
        default:
            return false;
    }
    return m_data.Skip(1);  // the block terminator
}

bool cKvAniDIBList::SkipSubBlocks() {
    // Each step consumes at least one byte, so the loop ends at the data's end.
    while (m_data.pos < m_data.length) {
        const size_t size = m_data.data[m_data.pos];
        if (size == 0) {
            return true;
        }
        if (!m_data.Skip(1 + size)) {
            return false;
        }
    }
    return false;
}

int cKvAniDIBList::TakeIt() {
    const unsigned char* descriptor;
    if (!m_data.Take(9, descriptor)) {
        return 0;
    }
    m_image.left = ReadLe16(descriptor);
    m_image.top = ReadLe16(descriptor + 2);
    m_image.width = ReadLe16(descriptor + 4);
    m_image.height = ReadLe16(descriptor + 6);
    m_image.packed = descriptor[8];
    const int width = m_image.width;
    const int height = m_image.height;
    const kvgif::CanvasSize canvas = kvgif::FrameCanvasSize(m_frames, width, height);
    const int64_t canvasPixels = int64_t{canvas.width} * canvas.height;
    if (!kvgif::FitsLimits(width, height) || !kvgif::FitsLimits(canvas.width, canvas.height) ||
        m_framePixels + canvasPixels > kvgif::kMaxDecoderPixels) {
        return 0;
    }

    const bool localTable = (m_image.packed & 0x80) != 0;
    const int localEntries = localTable ? TableEntries(m_image.packed) : 0;
    const unsigned char* localColors = nullptr;
    const unsigned char* minimumCodeSize = nullptr;
    if (!m_data.Take(3 * static_cast<size_t>(localEntries), localColors) ||
        !m_data.Take(1, minimumCodeSize)) {
        return 0;
    }
    if (*minimumCodeSize > kvgif::kMaxMinimumCodeSize ||
        !kvgif::DataCanFill(width, height, SubBlockDataBytes(m_data))) {
        return 0;
    }
    if (!m_work.Allocate(width, height)) {
        return 0;
    }
    struct ImageEnd {
        cKvAniDIBList& decoder;
        ~ImageEnd() { decoder.EndImage(); }
    } imageEnd{*this};

    m_imageColors = localTable ? localEntries : m_globalCount;
    m_work.SetColors(localTable ? localColors : m_globalTable.data(), m_imageColors);
    m_reader.Start(*minimumCodeSize + 1);
    m_cursor.Start(m_work.Indices(), m_work.Stride(), width, height, (m_image.packed & 0x40) != 0);
    const kvgif::LzwStatus status =
        kvgif::DecodeLzw(*minimumCodeSize, m_work.StringTable(), m_data, m_reader, m_cursor);
    if (status == kvgif::LzwStatus::kCorruptCode) {
        return 0;
    }
    AddFrame(canvas);
    m_data.Skip(1);  // the block terminator, or whatever byte stands there
    return 1;
}

void cKvAniDIBList::AddFrame(kvgif::CanvasSize canvas) {
    const kvgif::DecodedImage image{m_work.Indices(),
                                    m_work.Stride(),
                                    m_image.left,
                                    m_image.top,
                                    m_image.width,
                                    m_image.height,
                                    m_work.ColorTable(),
                                    m_imageColors,
                                    m_graphicControl.transparent,
                                    m_graphicControl.transparentIndex};
    if (CKvAImage* frame = kvgif::ComposeFrame(m_frames, m_previous, canvas, image)) {
        m_frames.push_back(frame);
        m_delays.push_back(m_gcDelay);
        m_framePixels += int64_t{canvas.width} * canvas.height;
    }
    m_previous.disposal = m_graphicControl.disposal;
    m_previous.rect = {m_image.left, m_image.top, m_image.left + m_image.width,
                       m_image.top + m_image.height};
}

void cKvAniDIBList::EndImage() {
    m_work.Release();
    m_cursor = kvgif::IndexCursor{};
    m_reader = kvgif::CodeReader{};
}

unsigned char cKvAniDIBList::GetByte() {
    return kvgif::NextDataByte(m_data, m_reader);
}

unsigned short cKvAniDIBList::GetCode() {
    return kvgif::NextCode(m_data, m_reader);
}

void cKvAniDIBList::Output(unsigned char index) {
    kvgif::PutIndex(m_cursor, index);
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
