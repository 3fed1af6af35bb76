#include "avatar_id/avtr_id.h"

#include <algorithm>
#include <string_view>

#include "avatar_id/ascii_case.h"

namespace {

constexpr const char* kDefaultAvtrIds[] = {
    "LCM001_HCM001_FNM001A_PNM001",
    "LCF001_HCF001_FNF001A_PNF001",
};

bool CarriesExpression(const std::string& part) {
    return part.starts_with("fn") || part.starts_with("sb");
}

}  // namespace

CAvtrId::CAvtrId() : m_bComAvtr(false), m_bDefault(false), m_nExpressPos(1) {
    m_itExpress = m_vecId.end();
}

CAvtrId::CAvtrId(const CAvtrId& other)
    : m_bComAvtr(other.m_bComAvtr),
      m_bDefault(other.m_bDefault),
      m_nExpressPos(other.m_nExpressPos),
      m_strOrgId(other.m_strOrgId),
      m_strCurId(other.m_strCurId),
      m_vecId(other.m_vecId) {
    m_itExpress = LocateExpressionPart().part;
}

CAvtrId& CAvtrId::operator=(const CAvtrId& other) {
    m_bComAvtr = other.m_bComAvtr;
    m_bDefault = other.m_bDefault;
    m_nExpressPos = other.m_nExpressPos;
    m_strOrgId = other.m_strOrgId;
    m_strCurId = other.m_strCurId;
    m_vecId = other.m_vecId;
    m_itExpress = LocateExpressionPart().part;
    return *this;
}

CAvtrId::~CAvtrId() = default;

void CAvtrId::Set(const std::string& id, bool com) {
    m_vecId.clear();
    m_bComAvtr = com;
    m_bDefault = false;
    m_strOrgId = id;
    char separators[] = "_";
    Add(id.c_str(), com, separators);
    avatar_id::LowerInPlace(m_strOrgId);
    m_strCurId = m_strOrgId;
    m_itExpress = FindExpressAvtrId();
}

bool CAvtrId::Add(const char* id, bool com, char* /*separators*/) {
    const std::string_view text = id != nullptr ? id : "";
    if (com) {
        std::string whole(text);
        avatar_id::UpperInPlace(whole);
        if (CheckDefaultAvatarId(whole)) {
            m_bDefault = true;
        }
        m_vecId.push_back(std::move(whole));
        return true;
    }
    // No fixed split buffer: an id of any length is split whole.
    m_vecId = avatar_id::ArrangeLayeredParts(text);
    return true;
}

void CAvtrId::AddPrefix(const char* prefix) {
    // A com id emptied through SetComAvatar has no part to prefix.
    if (!m_bComAvtr || m_vecId.empty() || prefix == nullptr) {
        return;
    }
    m_vecId.front().insert(0, prefix);
}

bool CAvtrId::CheckDefaultAvatarId(std::string& id) {
    for (const char* defaultId : kDefaultAvtrIds) {
        if (id == defaultId) {
            return true;
        }
    }
    return false;
}

CAvtrId::ExpressionPart CAvtrId::LocateExpressionPart() {
    for (auto it = m_vecId.begin(); it != m_vecId.end(); ++it) {
        if (!CarriesExpression(*it)) {
            continue;
        }
        const size_t found = m_strOrgId.find(std::string_view(*it).substr(0, 6));
        if (found != std::string::npos) {
            return {it, static_cast<int>(found + it->size() - 1)};
        }
    }
    return {m_vecId.end(), 0};
}

CAvtrId::IdList::iterator CAvtrId::FindExpressAvtrId() {
    const ExpressionPart found = LocateExpressionPart();
    if (found.part != m_vecId.end()) {
        m_nExpressPos = found.letterPos;
    }
    return found.part;
}

int CAvtrId::CurrentExpressionIndex() {
    m_itExpress = FindExpressAvtrId();
    if (m_itExpress == m_vecId.end()) {
        return -1;
    }
    // Parts edited through IdVec, Copy or AddPrefix may reach past the string.
    if (m_nExpressPos < 0 || static_cast<size_t>(m_nExpressPos) >= m_strCurId.size()) {
        return -1;
    }
    return m_nExpressPos;
}

bool CAvtrId::IsExpressionAvatar() {
    const int index = CurrentExpressionIndex();
    return index >= 0 && m_strCurId[index] != 'n';
}

char CAvtrId::GetExpressionCode() {
    const int index = CurrentExpressionIndex();
    return index >= 0 ? m_strCurId[index] : 0;
}

bool CAvtrId::SetExpressionCode(char c) {
    const int index = CurrentExpressionIndex();
    if (index < 0) {
        return false;
    }
    m_strCurId[index] = c;
    return true;
}

void CAvtrId::Copy(CAvtrId& src) {
    m_bComAvtr = src.m_bComAvtr;
    m_bDefault = src.m_bDefault;
    // Only the parts this id already has are overwritten; it never grows.
    const size_t count = std::min(m_vecId.size(), src.m_vecId.size());
    for (size_t i = 0; i < count; ++i) {
        m_vecId[i] = src.m_vecId[i];
    }
}

bool CAvtrId::ToString(char* buffer, bool upper) {
    if (m_strCurId.empty() || buffer == nullptr) {
        return false;
    }
    // size() + 1 copies the NUL as well.
    for (size_t i = 0; i <= m_strCurId.size(); ++i) {
        const char c = m_strCurId.c_str()[i];
        buffer[i] = upper ? avatar_id::ToUpperAscii(c) : c;
    }
    return true;
}

bool CAvtrId::ToString(std::string& out, bool upper) {
    if (m_strCurId.empty()) {
        return false;
    }
    out = m_strCurId;
    if (upper) {
        avatar_id::UpperInPlace(out);
    }
    return true;
}
