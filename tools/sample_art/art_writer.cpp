#include "art_writer.h"

#include <fstream>

#include "bmp_writer.h"

namespace sampleart {

namespace fs = std::filesystem;

fs::path ArtWriter::Prepare(const std::string& relative) {
    if (!m_error.empty()) {
        return {};
    }
    const fs::path path = m_root / relative;
    std::error_code code;
    fs::create_directories(path.parent_path(), code);
    if (code) {
        m_error = "cannot create " + path.parent_path().string();
        return {};
    }
    return path;
}

bool ArtWriter::Done(const fs::path& path, bool ok, const std::string& error) {
    if (!ok) {
        m_error = error.empty() ? "cannot write " + path.string() : error;
        return false;
    }
    m_written.push_back(path.string());
    return true;
}

bool ArtWriter::Gif(const std::string& relative, const std::vector<Frame>& frames, int loops) {
    const fs::path path = Prepare(relative);
    std::string error;
    return !path.empty() && Done(path, WriteGif(path.string(), frames, error, loops), error);
}

bool ArtWriter::Bitmap(const std::string& relative, const Canvas& picture) {
    const fs::path path = Prepare(relative);
    return !path.empty() && Done(path, WriteBitmap(path.string(), picture), {});
}

bool ArtWriter::Text(const std::string& relative, const std::string& text) {
    const fs::path path = Prepare(relative);
    if (path.empty()) {
        return false;
    }
    std::ofstream file(path, std::ios::binary);
    file << text;
    return Done(path, static_cast<bool>(file.flush()), {});
}

}  // namespace sampleart
