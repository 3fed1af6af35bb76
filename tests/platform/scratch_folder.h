// A fresh folder below the temporary directory, removed with everything in it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvplatform-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

    void Write(const std::string& relative, const std::string& content) const {
        std::filesystem::create_directories(std::filesystem::path(*this / relative).parent_path());
        std::ofstream(*this / relative, std::ios::binary) << content;
    }

private:
    std::string m_path;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}
