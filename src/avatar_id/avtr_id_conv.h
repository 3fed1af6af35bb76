// CAvtrIdConv: turns a legacy avatar code (26 characters, e.g.
// "NNN0121001001N010000000000") into the text of a layered avatar identifier.
// Call SetOrgAvtrId, Conv, then GetAvtrId; every Conv appends to the result.
#pragma once

#include <string>
#include <vector>

class CAvtrIdConv {
public:
    // Longest code kept; longer codes are cut.
    static constexpr int kMaxCodeLength = 29;

    CAvtrIdConv();
    CAvtrIdConv(const CAvtrIdConv&) = default;
    CAvtrIdConv& operator=(const CAvtrIdConv&) = default;
    ~CAvtrIdConv();

    void SetOrgAvtrId(const char* code);
    bool Conv();
    std::string& GetAvtrId() { return m_strAvtrId; }

protected:
    std::vector<char> LC();
    std::vector<char> HC();
    std::vector<char> Face();
    std::vector<char> Hair();
    std::vector<char> Set();
    std::vector<char> AC(int n);
    void Append(std::vector<char>& part);
    // The gender letter for position 6, otherwise the character at `pos`;
    // 0 for a position past the end of the code.
    char AvtCode(int pos);
    bool IsMatch(int pos, char c);

private:
    char CharAt(int pos) const;
    // Appends AvtCode(pos); a position past the end of a short code adds nothing.
    void PushCode(std::vector<char>& part, int pos);

    char m_szOrgAvtrId[kMaxCodeLength + 1];
    std::string m_strAvtrId;
};
