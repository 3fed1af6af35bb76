// GetPrivateProfileIntA over the INI reader. A missing file, section or key
// gives the default, an empty value too; otherwise the value's leading decimal
// integer counts (0 when it has none), as Windows reads it.
#include <cctype>

#include "platform/kernel/ini_file.h"
#include "platform/testing.h"

namespace {

UINT ParseLeadingInteger(const std::string& text) {
    size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    UINT value = 0;  // wraps on overflow rather than failing
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = value * 10 + static_cast<UINT>(text[at] - '0');
    }
    return negative ? 0u - value : value;
}

}  // namespace

UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName) {
    const UINT fallback = static_cast<UINT>(nDefault);
    kvplatform::IniFile file;
    if (!lpAppName || !lpKeyName || !lpFileName ||
        !kvplatform::ReadIniFile(kvplatform::TranslatePath(lpFileName), file)) {
        return fallback;
    }
    const kvplatform::IniSection* section = kvplatform::FindIniSection(file, lpAppName);
    const std::string* value = section ? kvplatform::FindIniValue(*section, lpKeyName) : nullptr;
    return value && !value->empty() ? ParseLeadingInteger(*value) : fallback;
}
