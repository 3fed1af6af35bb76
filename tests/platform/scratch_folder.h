// A fresh temporary folder removed with its contents, and an environment
// variable set for a scope.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvplat-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code e;
        std::filesystem::remove_all(m_path, e);
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

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}
