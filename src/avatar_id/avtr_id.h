// CAvtrId: a layered avatar's identifier: its part ids in drawing order (back
// to front), whether it names one composed ("com") image, whether it is one of
// the two default avatars, and the letter of its facial expression.
#pragma once

#include <string>
#include <vector>

#include "avatar_id/avtr_layers.h"

class CAvtrId {
public:
    using IdList = std::vector<std::string>;

    CAvtrId();
    // Member-wise, except that m_itExpress is re-aimed into this object's own list.
    CAvtrId(const CAvtrId& other);
    CAvtrId& operator=(const CAvtrId& other);
    virtual ~CAvtrId();

    void Set(const std::string& id, bool com);
    // Puts `prefix` in front of a com id's part, again on every call.
    void AddPrefix(const char* prefix);

    bool IsExpressionAvatar();
    char GetExpressionCode();
    // Changes only the current string; the part list keeps the old letter.
    bool SetExpressionCode(char c);

    // Takes the flags of `src` and overwrites this id's first parts with those of
    // `src`; the length of this id's list never changes.
    void Copy(CAvtrId& src);

    // `buffer` must hold the current string and its NUL.
    bool ToString(char* buffer, bool upper);
    bool ToString(std::string& out, bool upper);

    bool IsDefault() { return m_bDefault; }
    bool IsComAvtr() { return m_bComAvtr; }
    void SetDefAvatar(bool isDefault) { m_bDefault = isDefault; }
    void SetComAvatar(bool isCom) { m_bComAvtr = isCom; }
    IdList& IdVec() { return m_vecId; }

protected:
    // Splitting always uses "_"; the separators argument is kept for callers.
    bool Add(const char* id, bool com, char* separators);
    bool CheckDefaultAvatarId(std::string& id);
    IdList::iterator FindExpressAvtrId();

    bool m_bComAvtr;
    bool m_bDefault;
    IdList::iterator m_itExpress;
    int m_nExpressPos;
    std::string m_strOrgId;
    std::string m_strCurId;
    IdList m_vecId;

private:
    struct ExpressionPart {
        IdList::iterator part;
        int letterPos;
    };
    ExpressionPart LocateExpressionPart();
    // Index of the expression letter in m_strCurId, or -1 when there is none.
    int CurrentExpressionIndex();
};
