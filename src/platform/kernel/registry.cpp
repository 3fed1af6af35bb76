// The registry below HKEY_CURRENT_USER, kept in a text file: each section is a
// key path, each "name=value" a string value. A key exists when a section names
// it or a key below it. The file is read when a key is opened, and the key keeps
// the values it had then. Two name suffixes give the other shapes a value can
// have on Windows: "name:expand=" is a REG_EXPAND_SZ value, and
// "name:unterminated=" a REG_SZ value stored without its terminator.
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/kernel/handle_table.h"
#include "platform/kernel/ini_file.h"
#include "platform/kernel/path_translation.h"
#include "platform/testing.h"

namespace {

class RegistryKey : public kvplatform::HandleObject {
public:
    RegistryKey(std::string path, kvplatform::IniSection values)
        : m_path(std::move(path)), m_values(std::move(values)) {}

    const std::string& Path() const { return m_path; }

    struct Value {
        const std::string* text = nullptr;
        DWORD type = REG_SZ;
        bool terminated = true;
    };

    Value Find(const char* name) const {
        const std::string plain = name ? name : "";
        if (const std::string* text = kvplatform::FindIniValue(m_values, plain)) {
            return {text, REG_SZ, true};
        }
        if (const std::string* text = kvplatform::FindIniValue(m_values, plain + ":expand")) {
            return {text, REG_EXPAND_SZ, true};
        }
        return {kvplatform::FindIniValue(m_values, plain + ":unterminated"), REG_SZ, false};
    }

private:
    std::string m_path;
    kvplatform::IniSection m_values;
};

std::mutex fileMutex;
std::string fileOverride;

std::string RegistryFilePath() {
    {
        std::lock_guard<std::mutex> lock(fileMutex);
        if (!fileOverride.empty()) {
            return fileOverride;
        }
    }
    if (const char* named = std::getenv("KVAVTR_REGISTRY"); named && *named) {
        return named;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        return std::string(config) + "/kvavtr/registry.ini";
    }
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config/kvavtr/registry.ini";
}

// "a\\b\" and "a\b" name the same key.
std::string NormalizeKeyPath(std::string_view path) {
    std::string normalized;
    for (const char c : path) {
        if (c != '\\' || (!normalized.empty() && normalized.back() != '\\')) {
            normalized += c;
        }
    }
    if (!normalized.empty() && normalized.back() == '\\') {
        normalized.pop_back();
    }
    return normalized;
}

bool NamesKeyOrBelow(const std::string& sectionPath, const std::string& keyPath) {
    return keyPath.empty() || kvplatform::EqualsIgnoreCase(sectionPath, keyPath) ||
           (sectionPath.size() > keyPath.size() && sectionPath[keyPath.size()] == '\\' &&
            kvplatform::EqualsIgnoreCase(std::string_view(sectionPath).substr(0, keyPath.size()),
                                         keyPath));
}

// The path of an open key, or of HKEY_CURRENT_USER (empty); false for anything else.
bool ParentPath(HKEY key, std::string& path) {
    if (key == HKEY_CURRENT_USER) {
        path.clear();
        return true;
    }
    const auto parent = kvplatform::LookupHandle<RegistryKey>(reinterpret_cast<HANDLE>(key));
    if (!parent) {
        return false;
    }
    path = parent->Path();
    return true;
}

}  // namespace

namespace kvplatform {

void SetRegistryFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(fileMutex);
    fileOverride = path;
}

}  // namespace kvplatform

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM /*samDesired*/,
                   PHKEY phkResult) {
    std::string path;
    if (!ParentPath(hKey, path)) {
        return ERROR_INVALID_HANDLE;
    }
    if (!phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    if (lpSubKey && *lpSubKey) {
        path = NormalizeKeyPath(path.empty() ? lpSubKey : path + "\\" + lpSubKey);
    }
    kvplatform::IniFile file;
    if (!kvplatform::ReadIniFile(RegistryFilePath(), file)) {
        return ERROR_FILE_NOT_FOUND;
    }
    const kvplatform::IniSection* own = nullptr;
    bool exists = false;
    for (const kvplatform::IniSection& section : file) {
        const std::string sectionPath = NormalizeKeyPath(section.name);
        if (NamesKeyOrBelow(sectionPath, path)) {
            exists = true;
            if (!own && kvplatform::EqualsIgnoreCase(sectionPath, path)) {
                own = &section;
            }
        }
    }
    if (!exists) {
        return ERROR_FILE_NOT_FOUND;
    }
    *phkResult = reinterpret_cast<HKEY>(kvplatform::AddHandle(
        std::make_shared<RegistryKey>(path, own ? *own : kvplatform::IniSection{})));
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
    const auto key = kvplatform::LookupHandle<RegistryKey>(reinterpret_cast<HANDLE>(hKey));
    if (!key) {
        return ERROR_INVALID_HANDLE;
    }
    if (lpReserved || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    const RegistryKey::Value value = key->Find(lpValueName);
    if (!value.text) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (lpType) {
        *lpType = value.type;
    }
    const DWORD needed = static_cast<DWORD>(value.text->size() + (value.terminated ? 1 : 0));
    if (!lpcbData) {
        return ERROR_SUCCESS;
    }
    const DWORD given = *lpcbData;
    *lpcbData = needed;
    if (!lpData) {
        return ERROR_SUCCESS;
    }
    if (given < needed) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(lpData, value.text->c_str(), needed);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (hKey == HKEY_CURRENT_USER) {
        return ERROR_SUCCESS;
    }
    return kvplatform::CloseHandleOfKind<RegistryKey>(reinterpret_cast<HANDLE>(hKey))
               ? ERROR_SUCCESS
               : ERROR_INVALID_HANDLE;
}
