// Writes the files of the sample art below one root folder, creating folders on
// the way, and remembers the first failure.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gif_writer.h"

namespace sampleart {

class ArtWriter {
public:
    explicit ArtWriter(std::filesystem::path root) : m_root(std::move(root)) {}

    // Each returns false, and keeps the reason, when the file cannot be written.
    bool Gif(const std::string& relative, const std::vector<Frame>& frames, int loops = 0);
    bool Bitmap(const std::string& relative, const Canvas& picture);
    bool Text(const std::string& relative, const std::string& text);

    const std::vector<std::string>& written() const { return m_written; }
    const std::string& error() const { return m_error; }

private:
    // The full path, its folder made; empty after a failure.
    std::filesystem::path Prepare(const std::string& relative);
    bool Done(const std::filesystem::path& path, bool ok, const std::string& error);

    std::filesystem::path m_root;
    std::vector<std::string> m_written;
    std::string m_error;
};

}  // namespace sampleart
