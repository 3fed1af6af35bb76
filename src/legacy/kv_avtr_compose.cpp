// Composition of a legacy code into a picture, layer by layer from back to front.
#include <vector>

#include "imaging/pixel.h"
#include "legacy/kv_avtr.h"
#include "legacy/legacy_code.h"
#include "legacy/legacy_tables.h"

namespace {

// One layer to draw at one frame; a null layer is a part the code leaves out.
struct Step {
    CAvatarLayer* layer;
    int frame;
};

class CodeLayers {
public:
    // False when the code's set or face column would index outside the tables.
    bool Read(const char* code) {
        m_code = code;
        m_set = LegacyCodeNumber(code, 6, 1) - 1;
        m_value = LegacyCodeNumber(code, 5, 1);
        const bool faceColumn = code[13] == 'A' || code[13] == 'B';
        return (m_set == 0 || m_set == 1) && (!faceColumn || (m_value >= 1 && m_value <= 3));
    }

    int Set() const { return m_set; }

    CAvatarLayer* At(int row, int column) const {
        return &g_AvtrLayers[row][column + kFemaleColumnShift * m_set];
    }

    Step Hair(bool rear) const {
        const char source = m_code[1];
        const int frame = LegacyCodeNumber(m_code, 3, 2);
        if (source == 'N') {
            return {At(rear ? kRowRearHair : kRowFrontHair, 0), frame};
        }
        if (source >= 'A' && source <= 'E') {
            const HairColorTable table = rear ? (m_set ? kFemaleRearHair : kMaleRearHair)
                                              : (m_set ? kFemaleFrontHair : kMaleFrontHair);
            return {&g_HairColorLayers[table][source - 'A'], frame};
        }
        if (source == '1') {
            return {At(rear ? kRowRearHairHat : kRowFrontHairHat, 1), frame};
        }
        return {nullptr, 0};
    }

    Step Face() const {
        const int frame = LegacyCodeNumber(m_code, 14, 2);
        switch (m_code[13]) {
            case 'N':
                return {At(kRowFace, 0), m_value};
            case 'A':
                return {At(kRowFacePaint, m_value - 1), frame};
            case 'B':
                return {At(kRowFaceMark, m_value - 1), frame};
            default:
                return {nullptr, 0};
        }
    }

    std::vector<Step> PlainSteps() const {
        return {{At(kRowAccessory, 3), LegacyFrameCode(m_code, 16)},
                Hair(true),
                {At(kRowRearAccessory, 2), LegacyFrameCode(m_code, 18)},
                {At(kRowBody, 0), m_value},
                {At(kRowLowCloth, 0), LegacyCodeNumber(m_code, 7, 3)},
                {At(kRowHighCloth, 0), LegacyCodeNumber(m_code, 10, 3)},
                Face(),
                {At(kRowAccessory, 2), LegacyFrameCode(m_code, 18)},
                Hair(false),
                {At(kRowAccessory, 1), LegacyFrameCode(m_code, 20)},
                {At(kRowAccessory, 0), LegacyFrameCode(m_code, 22)}};
    }

    std::vector<Step> SetASteps() const {
        const int setFrame = LegacyCodeNumber(m_code, 24, 2);
        return {{At(kRowAccessory, 3), LegacyFrameCode(m_code, 16)},
                {At(kRowRearHair, 3), setFrame},
                {At(kRowRearAccessory, 2), LegacyFrameCode(m_code, 18)},
                {At(kRowBody, 0), m_value},
                {At(kRowClothSetA, 3), setFrame},
                Face(),
                {At(kRowAccessory, 2), LegacyFrameCode(m_code, 18)},
                {At(kRowFrontHair, 3), setFrame},
                {At(kRowAccessory, 1), LegacyFrameCode(m_code, 20)},
                {At(kRowAccessory, 0), LegacyFrameCode(m_code, 22)}};
    }

    std::vector<Step> SetBSteps() const {
        return {{At(kRowClothSetB, 3), LegacyFrameCode(m_code, 24)}};
    }

private:
    const char* m_code = nullptr;
    int m_set = 0;
    int m_value = 0;
};

// False at the first frame that no sheet of its layer holds; a negative frame is one.
bool DrawSteps(const std::vector<Step>& steps, CKvAImage& work) {
    for (const Step& step : steps) {
        if (step.layer == nullptr) {
            continue;
        }
        if (step.frame < 0 || !step.layer->DrawFrame(step.frame, work)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int CKvAvtr::CreateAvatarSurface(const char* code) {
    const char kind = code[0];
    CodeLayers layers;
    const bool tableKind = kind == 'N' || kind == 'A' || kind == 'B';
    if (tableKind && !layers.Read(code)) {
        return 0;
    }
    CKvAImage work;
    if (!work.Create(m_nCompositionWidth, m_nFullHeight, kvpixel::kKeyColor)) {
        return 0;
    }
    work.FillRect(kvpixel::kKeyColor, 255);
    if (kind == 'X') {
        g_SpecialLayer.DrawFrame(0, work);
    } else if (tableKind) {
        const std::vector<Step> steps = kind == 'N'   ? layers.PlainSteps()
                                        : kind == 'A' ? layers.SetASteps()
                                                      : layers.SetBSteps();
        if (!DrawSteps(steps, work)) {
            work.FillRect(kvpixel::kKeyColor, 255);
            g_DefaultLayer.DrawFrame(layers.Set(), work);
        }
    }
    return FinishImage(work);
}
