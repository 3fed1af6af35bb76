// Animated avatars: one whole moving figure per player, under the cache names
// A{W,G,C}{F,H}{A,S}_<id>.GIF. F is the full figure (46 x 102), H its upper part
// (46 x 64); C halves either; W stands the figure on an opaque sky and lawn; S is the
// first frame alone, A the whole animation.
#include <string>

#include "art_sets.h"
#include "figures.h"
#include "portal.h"

namespace sampleart {

const char* const kAnimatedPlayers[3] = {"kvwave", "kvblink", "kvjump"};

namespace {

struct Motion {
    Sex sex;
    std::vector<Pose> poses;
    std::vector<int> delays;  // hundredths of a second, one per pose
    int loops;
};

// Waves for ever, blinks three times, jumps once.
Motion MotionOf(int player) {
    switch (player) {
        case 0:
            return {Sex::kMale, {{0, 0}, {1, 0}, {0, 0}, {1, 0}}, {30, 30, 30, 30}, 0};
        case 1:
            return {Sex::kFemale, {{0, 0}, {0, 1}, {0, 0}}, {120, 12, 40}, 3};
        default: {
            Motion jump{Sex::kMale, {}, {}, kPlayOnce};
            for (int lift : {0, 3, 6, 8, 9, 8, 6, 3}) {
                jump.poses.push_back({0, 0, 'a', lift});
                jump.delays.push_back(6);
            }
            return jump;
        }
    }
}

Canvas Shape(const Canvas& figure, char kind, char size) {
    Canvas picture = figure.Cropped(kBoxLeft, kBoxTop, kBoxWidth, size == 'F' ? 102 : 64);
    if (kind == 'W') {
        Canvas panel(picture.width(), picture.height());
        panel.Rect(0, 0, panel.width(), panel.height(), kPanel);
        panel.Rect(0, panel.height() - 8, panel.width(), panel.height(), kGreen);
        panel.Paint(picture);
        picture = panel;
    }
    return kind == 'C' ? picture.Halved() : picture;
}

}  // namespace

bool WriteAnimatedAvatars(ArtWriter& server) {
    for (int player = 0; player < 3; ++player) {
        const Motion motion = MotionOf(player);
        for (char kind : {'W', 'G', 'C'}) {
            for (char size : {'F', 'H'}) {
                std::vector<Frame> frames;
                for (size_t i = 0; i < motion.poses.size(); ++i) {
                    frames.push_back(
                        {Shape(Figure(motion.sex, motion.poses[i]), kind, size), motion.delays[i]});
                }
                const std::string tail = std::string("_") + kAnimatedPlayers[player] + ".GIF";
                const std::string name = std::string("IMG_AVTR/A") + kind + size;
                if (!server.Gif(name + "A" + tail, frames, motion.loops) ||
                    !server.Gif(name + "S" + tail, {frames.front()})) {
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace sampleart
