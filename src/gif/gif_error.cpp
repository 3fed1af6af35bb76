#include "gif/gif_error.h"

namespace kvgif {

const char* GifErrorMessage(GifError error) {
    switch (error) {
        case GifError::kNone:
            return "no error";
        case GifError::kNoFile:
            return "file cannot be opened or read";
        case GifError::kNotGif:
            return "not a GIF87a or GIF89a header";
        case GifError::kShortColorTable:
            return "global colour table runs past the file";
        case GifError::kShortDescriptor:
            return "image descriptor runs past the data";
        case GifError::kShortLocalTable:
            return "local colour table runs past the data";
        case GifError::kCodeSize:
            return "minimum code size above 11";
        case GifError::kCanvasTooLarge:
            return "frame canvas too large";
        case GifError::kTooLittleData:
            return "image data far too short for the image size";
        case GifError::kNoMemory:
            return "out of memory";
        case GifError::kCorruptCode:
            return "corrupt LZW code";
        case GifError::kShortExtension:
            return "extension runs past the data";
        case GifError::kUnknownExtension:
            return "unknown extension label";
        case GifError::kUnknownBlock:
            return "unknown block";
    }
    return "unknown error";
}

}  // namespace kvgif
