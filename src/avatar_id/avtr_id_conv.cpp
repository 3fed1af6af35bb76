#include "avatar_id/avtr_id_conv.h"

#include <cstring>

#include "avatar_id/ascii_case.h"

namespace {

constexpr int kGenderPos = 6;

}  // namespace

CAvtrIdConv::CAvtrIdConv() : m_szOrgAvtrId{} {}

CAvtrIdConv::~CAvtrIdConv() = default;

void CAvtrIdConv::SetOrgAvtrId(const char* code) {
    // Zero-filled, so every position after the code reads as absent.
    std::memset(m_szOrgAvtrId, 0, sizeof(m_szOrgAvtrId));
    if (code != nullptr) {
        std::strncpy(m_szOrgAvtrId, code, kMaxCodeLength);
    }
}

char CAvtrIdConv::CharAt(int pos) const {
    return pos >= 0 && pos < kMaxCodeLength ? m_szOrgAvtrId[pos] : 0;
}

char CAvtrIdConv::AvtCode(int pos) {
    if (pos == kGenderPos) {
        return CharAt(kGenderPos) == '1' ? 'm' : 'f';
    }
    return CharAt(pos);
}

bool CAvtrIdConv::IsMatch(int pos, char c) {
    return CharAt(pos) == c;
}

void CAvtrIdConv::PushCode(std::vector<char>& part, int pos) {
    const char c = AvtCode(pos);
    if (c != 0) {
        part.push_back(c);
    }
}

std::vector<char> CAvtrIdConv::LC() {
    std::vector<char> part{'l', 'c'};
    for (int pos : {kGenderPos, 7, 8, 9}) {
        PushCode(part, pos);
    }
    return part;
}

std::vector<char> CAvtrIdConv::HC() {
    std::vector<char> part{'h', 'c'};
    for (int pos : {kGenderPos, 10, 11, 12}) {
        PushCode(part, pos);
    }
    return part;
}

std::vector<char> CAvtrIdConv::Face() {
    std::vector<char> part{'f', 'n', AvtCode(kGenderPos), '0'};
    PushCode(part, 14);
    PushCode(part, 15);
    part.push_back('a');
    return part;
}

std::vector<char> CAvtrIdConv::Hair() {
    std::vector<char> part{'p'};
    PushCode(part, 1);
    part.insert(part.end(), {AvtCode(kGenderPos), '0'});
    PushCode(part, 3);
    PushCode(part, 4);
    part.push_back('a');
    return part;
}

std::vector<char> CAvtrIdConv::Set() {
    std::vector<char> part{'s'};
    PushCode(part, 0);
    part.insert(part.end(), {AvtCode(kGenderPos), '0'});
    PushCode(part, 24);
    PushCode(part, 25);
    part.push_back('a');
    return part;
}

std::vector<char> CAvtrIdConv::AC(int n) {
    const bool gendered = n == 3;
    std::vector<char> part{'a', static_cast<char>('0' + n), gendered ? AvtCode(kGenderPos) : 'u',
                           '0'};
    PushCode(part, (12 - n) * 2);
    PushCode(part, 25 - 2 * n);
    if (gendered) {
        part.push_back('a');
    }
    return part;
}

void CAvtrIdConv::Append(std::vector<char>& part) {
    m_strAvtrId.append(part.begin(), part.end());
    m_strAvtrId.push_back('_');
}

bool CAvtrIdConv::Conv() {
    if (IsMatch(0, 'N')) {
        for (std::vector<char> part : {LC(), HC(), Face(), Hair(), AC(1), AC(2), AC(3), AC(4)}) {
            Append(part);
        }
    } else {
        std::vector<char> part = Set();
        Append(part);
    }
    avatar_id::LowerInPlace(m_strAvtrId);
    return true;
}
