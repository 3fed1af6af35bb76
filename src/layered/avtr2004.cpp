#include "layered/avtr2004.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "imaging/kv_aimage.h"
#include "imaging/lsp.h"
#include "imaging/lsp_sprite.h"
#include "imaging/pixel.h"
#include "layered/part_lookup.h"
#include "parts/avtr_part.h"
#include "parts/avtr_part_pool.h"

namespace {

constexpr int kSurfaceWidth = 100;
constexpr int kSurfaceHeight = 120;
constexpr int kSmallSurfaceWidth = 50;
constexpr int kSmallSurfaceHeight = 60;
constexpr unsigned long kFigureWidth = 46;
constexpr unsigned long kFigureHeight = 102;

void ResetBitmapInfo(BITMAPINFO& bmi, int height) {
    std::memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = kSurfaceWidth;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 16;
    bmi.bmiHeader.biCompression = BI_RGB;
}

// The com prefix: "A", the size letter, "F", the fourth letter, "_".
void AddComPrefix(CAvtrId& id, int bSmall, char fourth) {
    char prefix[10];
    std::snprintf(prefix, sizeof(prefix), "A%cF%c_", bSmall ? 'C' : 'W', fourth);
    id.AddPrefix(prefix);
}

}  // namespace

CAvtr2004::CAvtr2004()
    : m_nLspWidth(kSurfaceWidth),
      m_nLspHeight(kSurfaceHeight),
      m_nWidth(kFigureWidth),
      m_nHeight(kFigureHeight),
      m_bSmall(1),
      m_bFullHeight(0),
      m_bBox(1),
      m_bmi(),
      m_rcDrawing{-1, -1, -1, -1},
      m_cSex('A'),
      m_pLsp(nullptr),
      m_pBkgnd(nullptr) {
    ResetBitmapInfo(m_bmi, kSurfaceHeight);
}

CAvtr2004::~CAvtr2004() {
    Destroy();
}

int CAvtr2004::Create(CAvtrId& id, int bSmall, int bFullHeight, int bBox, unsigned long crBack) {
    return Build(id, bSmall, bFullHeight, bBox, crBack, true);
}

int CAvtr2004::Create(char* szId, int bSmall, int bFullHeight, int bBox, unsigned long crBack) {
    CAvtrId id;
    id.Set(szId != nullptr ? szId : "", false);
    return Create(id, bSmall, bFullHeight, bBox, crBack);
}

int CAvtr2004::CreateBlock(CAvtrId& id, int bSmall, int bFullHeight, int bBox,
                           unsigned long crBack) {
    return Build(id, bSmall, bFullHeight, bBox, crBack, false);
}

int CAvtr2004::Build(CAvtrId& id, int bSmall, int bFullHeight, int bBox, unsigned long crBack,
                     bool async) {
    if (id.IdVec().empty()) {
        return 0;
    }
    // `id` may be this avatar's own identifier, which the release below empties.
    CAvtrId source = id;
    if (m_pLsp != nullptr) {
        ReleaseSurfaceAndParts();
    }
    m_AvtrId = source;
    if (m_AvtrId.IsComAvtr()) {
        MakeComAvtrId(id, bSmall, bFullHeight, bBox);
        if (bSmall) {
            SetSurfaceSize(kSmallSurfaceWidth, kSmallSurfaceHeight);
        }
    }
    // Out of memory is a failed Create, never an exception to the host.
    m_pLsp = new (std::nothrow) lsp::CLspDib();
    if (m_pLsp == nullptr) {
        return 0;
    }
    m_pLsp->CreateDib(m_nLspWidth, m_nLspHeight, kvpixel::FromColorRef(crBack), 2);
    if (CAvtrPartPool* pool = CAvtrPartPool::Inst()) {
        pool->RequestLoad(m_AvtrId, async);
    }
    m_TickHandler.SetSize(static_cast<int>(m_AvtrId.IdVec().size()));
    StartClocks(true);
    m_bSmall = bSmall;
    m_bFullHeight = bFullHeight;
    m_bBox = bBox;
    return 1;
}

void CAvtr2004::MakeComAvtrId(CAvtrId&, int& bSmall, int&, int&) {
    AddComPrefix(m_AvtrId, bSmall, 'S');
}

int CAvtr2004::ReCreate() {
    if (m_AvtrId.IdVec().empty()) {
        return 0;
    }
    if (m_AvtrId.IsComAvtr()) {
        AddComPrefix(m_AvtrId, m_bSmall, m_bSmall || m_AvtrId.IsDefault() ? 'S' : 'A');
        if (m_bSmall) {
            SetSurfaceSize(kSmallSurfaceWidth, kSmallSurfaceHeight);
        }
    }
    if (CAvtrPartPool* pool = CAvtrPartPool::Inst()) {
        pool->RequestLoad(m_AvtrId, true);
    }
    m_TickHandler.clear();
    m_TickHandler.SetSize(static_cast<int>(m_AvtrId.IdVec().size()));
    StartClocks(false);
    return 1;
}

int CAvtr2004::ChangeAvatarExpress(char c) {
    if (!m_AvtrId.SetExpressionCode(c)) {
        return 0;
    }
    return ReCreate() != 0 ? 1 : 0;
}

void CAvtr2004::StartClocks(bool takeUses) {
    CAvtrId::IdList& ids = m_AvtrId.IdVec();
    for (size_t i = 0; i < ids.size(); ++i) {
        CAvtrPart* part = layered::FindPart(ids[i]);
        if (part == nullptr) {
            continue;
        }
        if (takeUses) {
            ++part->m_nUseCount;
        }
        if (!part->m_vecDelays.empty()) {
            m_TickHandler.SetDelay(static_cast<int>(i), part->m_vecDelays[0]);
        }
    }
}

void CAvtr2004::SetSurfaceSize(int width, int height) {
    m_nLspWidth = width;
    m_nLspHeight = height;
    m_bmi.bmiHeader.biWidth = width;
    m_bmi.bmiHeader.biHeight = height;
}

bool CAvtr2004::SetBkgndImage(const char* path) {
    FreeBackground();
    CKvAImage image;
    if (path == nullptr || !image.Create(path)) {
        return false;
    }
    m_pBkgnd = lsp::MakeSpriteFromImage(image);
    return m_pBkgnd != nullptr;
}

void CAvtr2004::FreeBackground() {
    lsp::FreeSprite(m_pBkgnd);
    m_pBkgnd = nullptr;
}

void CAvtr2004::ReleaseSurfaceAndParts() {
    for (std::string& partId : m_AvtrId.IdVec()) {
        if (CAvtrPart* part = layered::FindPart(partId)) {
            --part->m_nUseCount;
        }
    }
    m_TickHandler.clear();
    m_AvtrId.IdVec().clear();
    delete m_pLsp;
    m_pLsp = nullptr;
    ResetBitmapInfo(m_bmi, -kSurfaceHeight);
    m_nLspWidth = kSurfaceWidth;
    m_nLspHeight = kSurfaceHeight;
}

void CAvtr2004::Destroy() {
    ReleaseSurfaceAndParts();
    m_nWidth = kFigureWidth;
    m_nHeight = kFigureHeight;
    m_bSmall = 1;
    m_bFullHeight = 1;
    m_bBox = 1;
    m_rcDrawing = RECT{-1, -1, -1, -1};
    FreeBackground();
}

void CAvtr2004::SetDrawingRect(RECT& rc) {
    m_rcDrawing = rc;
}

bool CAvtr2004::HasDrawingRect() {
    return m_rcDrawing.left != -1 || m_rcDrawing.top != -1 || m_rcDrawing.right != -1 ||
           m_rcDrawing.bottom != -1;
}

BITMAPINFO& CAvtr2004::GetLspBitmapInfo() {
    return m_pLsp->m_bmi;
}

unsigned char* CAvtr2004::GetLspDIBData() {
    return m_pLsp->m_pBits;
}

lsp::CLspDib& CAvtr2004::GetLsp() {
    return *m_pLsp;
}
