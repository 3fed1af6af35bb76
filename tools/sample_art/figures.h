// The sample figure: each layer of a male or female avatar as animation frames
// on a 100 x 120 canvas, drawn so that the figure box (46 x 102 from column 27,
// row 5) frames it.
#pragma once

#include <vector>

#include "gif_writer.h"

namespace sampleart {

enum class Sex { kMale, kFemale };

constexpr int kFigureWidth = 100;
constexpr int kFigureHeight = 120;
constexpr int kBoxLeft = 27;
constexpr int kBoxTop = 5;
constexpr int kBoxWidth = 46;

// Hair styles: 'n' short (long for her), 'a' spiky, 'b' with a ponytail.
std::vector<Frame> HairBack(Sex sex, char style, uint8_t colour);
std::vector<Frame> HairFront(Sex sex, char style, uint8_t colour);
// The natural hair colour of each figure.
uint8_t HairColour(Sex sex);

// Variant 1 or 2. Lower clothes include legs and shoes; upper clothes the arms,
// the first variant waving.
std::vector<Frame> LowerClothes(Sex sex, int variant);
std::vector<Frame> UpperClothes(Sex sex, int variant);
std::vector<Frame> Jacket();
// The bare head, neck and hands in a skin colour.
Canvas Body(uint8_t skin);
// Expressions: 'a' smiling, 'b' sad, 'c' surprised; eyes open, then a blink.
std::vector<Frame> Face(Sex sex, char expression, uint8_t skin);

std::vector<Frame> Balloon();    // rearmost, bobbing
std::vector<Frame> ScarfBack();  // fluttering
std::vector<Frame> ScarfFront();
std::vector<Frame> Hat();
std::vector<Frame> Glasses();
std::vector<Frame> CapeBack();   // the set's rearmost layer, fluttering
std::vector<Frame> SuitFront();  // over the clothes
std::vector<Frame> Belt();       // in front of everything of the body
std::vector<Frame> Mask(char expression);

// One still picture of the whole figure.
struct Pose {
    int upperFrame = 0;  // 1: waving
    int faceFrame = 0;   // 1: eyes closed
    char hair = 'n';
    int lift = 0;  // pixels above the ground
};
Canvas Figure(Sex sex, const Pose& pose);

// All layers' first frames composed back to front, as one whole-avatar picture.
Canvas Composite(Sex sex);

// The composite with every opaque pixel in one grey: the stand-in figure.
Canvas Silhouette(Sex sex);

}  // namespace sampleart
