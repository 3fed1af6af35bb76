// kvavtr gif FILE OUTDIR: decodes a GIF into OUTDIR/frame-NNN.png and frames.json.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "command.h"
#include "gif/gif_error.h"
#include "gif/kv_ani_dib_list.h"
#include "imaging/kv_aimage.h"
#include "png_out.h"

namespace {

constexpr const char* kName = "gif";

// Why Load refused the file, from the decoder's own record.
std::string LoadFailureReason(const cKvAniDIBList& decoder, const std::string& path) {
    switch (decoder.LastError()) {
        case kvgif::GifError::kNoFile:
            return "cannot open " + path;
        case kvgif::GifError::kNotGif:
            return path + " is not a GIF file";
        default:
            return path + " has no decodable frame";
    }
}

std::string FrameName(size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%03zu.png", index);
    return name;
}

std::string FramesJson(const cKvAniDIBList& decoder, const std::vector<CKvAImage*>& frames,
                       const std::vector<unsigned long>& delays) {
    std::string json = "{\"screen\": [" + std::to_string(decoder.m_screenWidth) + ", " +
                       std::to_string(decoder.m_screenHeight) +
                       "], \"loop\": " + std::to_string(decoder.m_loopCount) + ", \"frames\": [";
    for (size_t i = 0; i < frames.size(); ++i) {
        json += i == 0 ? "" : ", ";
        json += "{\"width\": " + std::to_string(frames[i]->GetWidth()) +
                ", \"height\": " + std::to_string(frames[i]->GetHeight()) +
                ", \"delay\": " + std::to_string(delays[i]) + "}";
    }
    return json + "]}\n";
}

int Run(const kvcli::Args& args) {
    if (args.size() != 2) {
        return kvcli::UsageError(kName);
    }
    const std::string& path = args[0];
    const std::filesystem::path folder = args[1];
    cKvAniDIBList decoder;
    if (decoder.Load(path.c_str()) == 0) {
        std::fprintf(stderr, "kvavtr gif: %s\n", LoadFailureReason(decoder, path).c_str());
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "kvavtr gif: cannot create %s\n", folder.string().c_str());
        return 1;
    }
    std::vector<CKvAImage*> frames;
    std::vector<unsigned long> delays;
    decoder.exportImageList(frames, delays);
    for (size_t i = 0; i < frames.size(); ++i) {
        std::string reason;
        if (!kvcli::WriteImagePng((folder / FrameName(i)).string(), *frames[i], reason)) {
            std::fprintf(stderr, "kvavtr gif: %s\n", reason.c_str());
            return 1;
        }
    }
    const std::string jsonPath = (folder / "frames.json").string();
    std::ofstream json(jsonPath);
    json << FramesJson(decoder, frames, delays);
    if (!json.flush()) {
        std::fprintf(stderr, "kvavtr gif: cannot write %s\n", jsonPath.c_str());
        return 1;
    }
    return 0;
}

const bool registered = kvcli::RegisterCommand({kName, "FILE OUTDIR", Run});

}  // namespace
