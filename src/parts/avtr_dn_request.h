// One queued request of the part download thread.
#pragma once

#include <string>

class CAvtrDnRequest {
public:
    CAvtrDnRequest(bool com, const std::string& fileName) : m_bCom(com), m_strFileName(fileName) {}

    // The part belongs to a com id.
    bool m_bCom;
    // Part id + ".GIF" for a com id, + ".gif" for a layered part.
    std::string m_strFileName;
};
