// Why a GIF image or block was not decoded: kept by the decoder for its last
// failure and written to the debug log.
#pragma once

namespace kvgif {

enum class GifError {
    kNone,
    kNoFile,            // no path, or the file cannot be opened, sized or read
    kNotGif,            // a short header or a wrong signature
    kShortColorTable,   // the global colour table runs past the file
    kShortDescriptor,   // the image descriptor runs past the data
    kShortLocalTable,   // the local colour table runs past the data
    kCodeSize,          // a minimum code size above 11
    kCanvasTooLarge,    // the frame's canvas exceeds the surface or decoder limits
    kTooLittleData,     // far fewer data bytes than the image's pixels need
    kNoMemory,          // the work area or the frame image cannot be allocated
    kCorruptCode,       // an LZW code that no string can be made of
    kShortExtension,    // an extension or its sub-blocks run past the data
    kUnknownExtension,  // an extension label the decoder does not know
    kUnknownBlock,      // a byte that starts no block
};

const char* GifErrorMessage(GifError error);

}  // namespace kvgif
