#include "figures.h"

namespace sampleart {
namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 120;

uint8_t HairColour(Sex sex) {
    return sex == Sex::kMale ? kHairMale : kHairFemale;
}

void DrawArm(Canvas& c, int left, int top, int bottom, uint8_t shirt) {
    c.Rect(left, top, left + 6, bottom, shirt);
    c.Ellipse(left - 1, bottom - 1, left + 7, bottom + 6, kSkin);
}

void DrawEyes(Canvas& c, bool open) {
    for (int left : {41, 53}) {
        if (open) {
            c.Ellipse(left, 22, left + 6, 30, kWhite);
            c.Ellipse(left + 1, 23, left + 5, 29, kEyeDark);
        } else {
            c.Rect(left, 26, left + 6, 28, kEyeDark);
        }
    }
}

void Paint(Canvas& under, const Canvas& over) {
    const auto& src = over.pixels();
    for (int y = 0; y < over.height(); ++y) {
        for (int x = 0; x < over.width(); ++x) {
            const uint8_t p = src[static_cast<size_t>(y) * over.width() + x];
            if (p != kKey) {
                under.Rect(x, y, x + 1, y + 1, p);
            }
        }
    }
}

}  // namespace

std::vector<Frame> HairBack(Sex sex) {
    Canvas c(kWidth, kHeight);
    if (sex == Sex::kMale) {
        c.Ellipse(31, 5, 69, 40, HairColour(sex));
    } else {
        c.Ellipse(29, 5, 71, 44, HairColour(sex));
        c.Rect(30, 24, 70, 64, HairColour(sex));
        c.Ellipse(30, 56, 70, 70, HairColour(sex));
    }
    return {{c, 0}};
}

std::vector<Frame> LowerClothes(Sex sex) {
    Canvas c(kWidth, kHeight);
    if (sex == Sex::kMale) {
        c.Rect(37, 64, 63, 74, kTrousers);
        c.Rect(37, 74, 49, 100, kTrousers);
        c.Rect(51, 74, 63, 100, kTrousers);
    } else {
        c.Rect(40, 84, 47, 100, kSkin);
        c.Rect(53, 84, 60, 100, kSkin);
        for (int y = 64; y < 86; ++y) {
            const int spread = (y - 64) / 3;
            c.Rect(37 - spread, y, 63 + spread, y + 1, kSkirt);
        }
    }
    c.Ellipse(35, 98, 49, 106, kShoes);
    c.Ellipse(51, 98, 65, 106, kShoes);
    return {{c, 0}};
}

std::vector<Frame> UpperClothes(Sex sex) {
    const uint8_t shirt = sex == Sex::kMale ? kShirtMale : kShirtFemale;
    std::vector<Frame> frames;
    for (bool waving : {false, true}) {
        Canvas c(kWidth, kHeight);
        c.Ellipse(35, 42, 65, 52, shirt);
        c.Rect(36, 47, 64, 68, shirt);
        DrawArm(c, 29, 46, 64, shirt);
        if (waving) {
            DrawArm(c, 65, 30, 48, shirt);
        } else {
            DrawArm(c, 65, 46, 64, shirt);
        }
        frames.push_back({c, 60});
    }
    return frames;
}

std::vector<Frame> Face(Sex sex) {
    std::vector<Frame> frames;
    for (bool open : {true, false}) {
        Canvas c(kWidth, kHeight);
        c.Rect(46, 36, 54, 46, kSkinShade);
        c.Ellipse(34, 9, 66, 43, kSkin);
        c.EllipseOutline(34, 9, 66, 43, kOutline);
        DrawEyes(c, open);
        c.Ellipse(47, 34, 53, 37, kMouth);
        if (sex == Sex::kFemale) {
            c.Ellipse(37, 30, 42, 34, kCheek);
            c.Ellipse(58, 30, 63, 34, kCheek);
        }
        frames.push_back({c, open ? 250 : 12});
    }
    return frames;
}

std::vector<Frame> HairFront(Sex sex) {
    Canvas c(kWidth, kHeight);
    const uint8_t hair = HairColour(sex);
    c.Ellipse(32, 4, 68, 30, hair);
    c.Rect(36, 18, 64, 30, kKey);
    if (sex == Sex::kFemale) {
        c.Rect(32, 16, 37, 48, hair);
        c.Rect(63, 16, 68, 48, hair);
    }
    return {{c, 0}};
}

Canvas Composite(Sex sex) {
    Canvas c(kWidth, kHeight);
    for (const auto& layer :
         {HairBack(sex), LowerClothes(sex), UpperClothes(sex), Face(sex), HairFront(sex)}) {
        Paint(c, layer.front().canvas);
    }
    return c;
}

Canvas Silhouette(Sex sex) {
    const Canvas figure = Composite(sex);
    Canvas c(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (figure.pixels()[static_cast<size_t>(y) * kWidth + x] != kKey) {
                c.Rect(x, y, x + 1, y + 1, kSilhouette);
            }
        }
    }
    return c;
}

}  // namespace sampleart
