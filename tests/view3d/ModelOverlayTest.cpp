// Where a message's value stands along its arrow on the screen: clear of the texts already placed (names and
// port labels), or nowhere.
#include <gtest/gtest.h>

#include <vector>

#include "view3d/VDModelOverlay.h"

namespace {

using ScreenPoint = VDModelOverlay::ScreenPoint;

struct Taken {
    float x1, y1, x2, y2;
};

struct Case {
    const char* what;
    std::vector<ScreenPoint> arrow;
    std::vector<Taken> taken;  // port labels placed before
    bool placed;
    float left;  // the text's left end and baseline
    float base;
};

// Text 30 pixels wide, lines 10 pixels high; the ink reaches 2 below the baseline and 7 above it, with a
// pixel kept free left and right, and stands 3 pixels off the arrow.
TEST(ModelOverlayTest, AMessagesValueTakesTheFirstFreePlaceAlongItsArrowOrNone) {
    const std::vector<Case> cases = {
        {"a free level arrow: above it, halfway", {{100, 100}, {300, 100}}, {}, true, 185, 103},
        {"a port label above the middle: below it",
         {{100, 100}, {300, 100}},
         {{180, 100, 220, 115}},
         true,
         185,
         90},
        {"a port label over the middle on both sides: above, a quarter along",
         {{100, 100}, {300, 100}},
         {{170, 85, 230, 115}},
         true,
         135,
         103},
        {"labels all along: left out", {{100, 100}, {300, 100}}, {{0, 80, 400, 120}}, false, 0, 0},
        {"an upright arrow: right of it, halfway", {{100, 50}, {100, 250}}, {}, true, 104, 146.5f},
        {"an upright arrow with a label on its right: left of it",
         {{100, 50}, {100, 250}},
         {{101, 140, 160, 160}},
         true,
         66,
         146.5f},
        {"a path: on its longest segment first", {{100, 100}, {120, 100}, {120, 250}}, {}, true, 124, 171.5f},
        {"along the top of the picture: below the line", {{100, 299}, {300, 299}}, {}, true, 185, 289},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        VDModelOverlay::TextSpace space(VDRect(0, 0, 400, 300));
        for (const Taken& t : c.taken) {
            space.add(t.x1, t.y1, t.x2, t.y2);
        }
        float left = 0.0f;
        float base = 0.0f;
        ASSERT_EQ(c.placed, VDModelOverlay::placeAlong(space, c.arrow, 30.0f, 10.0f, left, base));
        if (c.placed) {
            EXPECT_FLOAT_EQ(c.left, left);
            EXPECT_FLOAT_EQ(c.base, base);
        }
    }
}

}  // namespace
