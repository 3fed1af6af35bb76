#include "figures.h"

namespace sampleart {
namespace {

Canvas Blank() {
    return Canvas(kFigureWidth, kFigureHeight);
}

std::vector<Frame> Still(const Canvas& c) {
    return {{c, 0}};
}

void DrawArm(Canvas& c, int left, int top, int bottom, uint8_t shirt) {
    c.Rect(left, top, left + 6, bottom, shirt);
    c.Ellipse(left - 1, bottom - 1, left + 7, bottom + 6, kSkin);
}

// Neck and head, outlined.
void DrawHead(Canvas& c, uint8_t skin, uint8_t neck) {
    c.Rect(46, 36, 54, 46, neck);
    c.Ellipse(34, 9, 66, 43, skin);
    c.EllipseOutline(34, 9, 66, 43, kOutline);
}

void DrawEyes(Canvas& c, bool open, char expression) {
    for (int left : {41, 53}) {
        if (!open) {
            c.Rect(left, 26, left + 6, 28, kEyeDark);
            continue;
        }
        const int top = expression == 'c' ? 20 : 22;
        c.Ellipse(left, top, left + 6, 30, kWhite);
        c.Ellipse(left + 1, top + 1, left + 5, 29, kEyeDark);
        if (expression == 'b') {
            c.Line(left, 20, left + 5, left < 50 ? 18 : 22, kOutline);
        }
    }
}

void DrawMouth(Canvas& c, char expression) {
    switch (expression) {
        case 'b':
            c.Line(46, 37, 50, 35, kMouth);
            c.Line(50, 35, 54, 37, kMouth);
            break;
        case 'c':
            c.Ellipse(47, 33, 53, 40, kMouth);
            break;
        default:
            c.Ellipse(45, 33, 55, 38, kMouth);
            c.Rect(45, 33, 55, 35, kSkin);
            break;
    }
}

}  // namespace

uint8_t HairColour(Sex sex) {
    return sex == Sex::kMale ? kHairMale : kHairFemale;
}

std::vector<Frame> HairBack(Sex sex, char style, uint8_t hair) {
    Canvas c = Blank();
    if (sex == Sex::kMale && style != 'b') {
        c.Ellipse(31, 5, 69, 40, hair);
    } else {
        c.Ellipse(29, 5, 71, 44, hair);
        c.Rect(30, 24, 70, 64, hair);
        c.Ellipse(30, 56, 70, 70, hair);
    }
    if (style == 'b') {
        c.Ellipse(64, 14, 76, 30, hair);
        c.Ellipse(66, 26, 76, 56, hair);
    }
    return Still(c);
}

std::vector<Frame> HairFront(Sex sex, char style, uint8_t hair) {
    Canvas c = Blank();
    c.Ellipse(32, 4, 68, 30, hair);
    c.Rect(36, 18, 64, 30, kKey);
    if (style == 'a') {
        for (int x = 34; x <= 62; x += 7) {
            for (int h = 0; h < 8; ++h) {
                c.Rect(x + h / 2, 4 - h, x + 7 - h / 2, 5 - h, hair);
            }
        }
    }
    if (sex == Sex::kFemale || style == 'b') {
        c.Rect(32, 16, 37, 48, hair);
        c.Rect(63, 16, 68, 48, hair);
    }
    return Still(c);
}

std::vector<Frame> LowerClothes(Sex sex, int variant) {
    Canvas c = Blank();
    if (sex == Sex::kMale) {
        c.Rect(37, 64, 63, 74, kTrousers);
        const int hem = variant == 1 ? 100 : 82;
        c.Rect(37, 74, 49, 100, kSkin);
        c.Rect(51, 74, 63, 100, kSkin);
        c.Rect(37, 74, 49, hem, kTrousers);
        c.Rect(51, 74, 63, hem, kTrousers);
    } else if (variant == 1) {
        c.Rect(40, 84, 47, 100, kSkin);
        c.Rect(53, 84, 60, 100, kSkin);
        for (int y = 64; y < 86; ++y) {
            const int spread = (y - 64) / 3;
            c.Rect(37 - spread, y, 63 + spread, y + 1, kSkirt);
        }
    } else {
        c.Rect(38, 64, 62, 74, kJacket);
        c.Rect(38, 74, 49, 100, kJacket);
        c.Rect(51, 74, 62, 100, kJacket);
    }
    c.Ellipse(35, 98, 49, 106, kShoes);
    c.Ellipse(51, 98, 65, 106, kShoes);
    return Still(c);
}

std::vector<Frame> UpperClothes(Sex sex, int variant) {
    const uint8_t shirt = variant == 2        ? (sex == Sex::kMale ? kGreen : kGold)
                          : sex == Sex::kMale ? kShirtMale
                                              : kShirtFemale;
    std::vector<Frame> frames;
    for (bool waving : {false, true}) {
        Canvas c = Blank();
        c.Ellipse(35, 42, 65, 52, shirt);
        c.Rect(36, 47, 64, 68, shirt);
        DrawArm(c, 29, 46, 64, shirt);
        if (waving) {
            DrawArm(c, 65, 30, 48, shirt);
        } else {
            DrawArm(c, 65, 46, 64, shirt);
        }
        frames.push_back({c, 60});
        if (variant == 2) {
            break;
        }
    }
    return frames;
}

std::vector<Frame> Jacket() {
    Canvas c = Blank();
    c.Rect(35, 46, 44, 70, kJacket);
    c.Rect(56, 46, 65, 70, kJacket);
    c.Line(44, 46, 48, 54, kOutline);
    c.Line(56, 46, 52, 54, kOutline);
    return Still(c);
}

Canvas Body(uint8_t skin) {
    Canvas c = Blank();
    DrawHead(c, skin, skin);
    c.Ellipse(28, 63, 36, 70, skin);
    c.Ellipse(64, 63, 72, 70, skin);
    return c;
}

std::vector<Frame> Face(Sex sex, char expression, uint8_t skin) {
    std::vector<Frame> frames;
    for (bool open : {true, false}) {
        Canvas c = Blank();
        DrawHead(c, skin, kSkinShade);
        DrawEyes(c, open, expression);
        DrawMouth(c, expression);
        if (sex == Sex::kFemale) {
            c.Ellipse(37, 30, 42, 34, kCheek);
            c.Ellipse(58, 30, 63, 34, kCheek);
        }
        frames.push_back({c, open ? 170 : 15});
    }
    return frames;
}

std::vector<Frame> Balloon() {
    std::vector<Frame> frames;
    for (int dy : {0, -2, -4, -2}) {
        Canvas c = Blank();
        c.Line(33, 66, 30, 26 + dy, kString);
        c.Ellipse(24, 8 + dy, 38, 27 + dy, kBalloon);
        c.Rect(28, 12 + dy, 30, 15 + dy, kWhite);
        frames.push_back({c, 40});
    }
    return frames;
}

std::vector<Frame> ScarfBack() {
    std::vector<Frame> frames;
    for (int dx : {0, -4}) {
        Canvas c = Blank();
        for (int y = 42; y < 72; ++y) {
            const int shift = dx * (y - 42) / 30;
            c.Rect(36 + shift, y, 43 + shift, y + 1, kScarf);
        }
        frames.push_back({c, 15});
    }
    return frames;
}

std::vector<Frame> ScarfFront() {
    Canvas c = Blank();
    c.Rect(38, 41, 62, 47, kScarf);
    c.Ellipse(52, 43, 60, 51, kScarf);
    c.Rect(54, 49, 59, 62, kScarf);
    return Still(c);
}

std::vector<Frame> Hat() {
    Canvas c = Blank();
    c.Ellipse(36, 0, 64, 24, kHat);
    c.Rect(36, 14, 64, 24, kKey);
    c.Rect(37, 10, 63, 14, kHatBand);
    c.Rect(29, 13, 71, 17, kHat);
    return Still(c);
}

std::vector<Frame> Glasses() {
    Canvas c = Blank();
    c.EllipseOutline(38, 19, 49, 32, kOutline);
    c.EllipseOutline(51, 19, 62, 32, kOutline);
    c.Rect(49, 24, 51, 26, kOutline);
    return Still(c);
}

std::vector<Frame> CapeBack() {
    std::vector<Frame> frames;
    for (int flare : {0, 3, 6}) {
        Canvas c = Blank();
        for (int y = 44; y < 98; ++y) {
            const int spread = (y - 44) * (8 + flare) / 54;
            c.Rect(33 - spread, y, 67 + spread, y + 1, kCape);
        }
        frames.push_back({c, 20});
    }
    return frames;
}

std::vector<Frame> SuitFront() {
    Canvas c = Blank();
    c.Ellipse(35, 42, 65, 52, kSuit);
    c.Rect(36, 47, 64, 68, kSuit);
    c.Ellipse(43, 49, 57, 61, kGold);
    c.Ellipse(46, 52, 54, 58, kBalloon);
    return Still(c);
}

std::vector<Frame> Belt() {
    Canvas c = Blank();
    c.Rect(36, 63, 64, 67, kGold);
    c.Rect(47, 62, 53, 68, kHatBand);
    return Still(c);
}

std::vector<Frame> Mask(char expression) {
    Canvas c = Blank();
    c.Rect(35, 19, 65, 31, kSuit);
    DrawEyes(c, true, expression);
    return Still(c);
}

Canvas Figure(Sex sex, const Pose& pose) {
    Canvas c = Blank();
    const uint8_t hair = HairColour(sex);
    c.Paint(HairBack(sex, pose.hair, hair).front().canvas);
    c.Paint(LowerClothes(sex, 1).front().canvas);
    c.Paint(UpperClothes(sex, 1)[pose.upperFrame].canvas);
    c.Paint(Face(sex, 'a', kSkin)[pose.faceFrame].canvas);
    c.Paint(HairFront(sex, pose.hair, hair).front().canvas);
    Canvas lifted = Blank();
    lifted.Paint(c, 0, -pose.lift);
    return lifted;
}

Canvas Composite(Sex sex) {
    return Figure(sex, Pose{});
}

Canvas Silhouette(Sex sex) {
    Canvas c = Composite(sex);
    c.Recolour(kSilhouette);
    return c;
}

}  // namespace sampleart
