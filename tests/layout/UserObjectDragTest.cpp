#include "ObjectGeometry.h"
#include "layout/TUserObject.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

struct Step {
    int dx, dy;
};

TEST(UserObjectDrag, MoveKeepsAPixelOnTheScreen) {
    struct Case {
        const char* name;
        Geometry start;
        std::vector<Step> steps;
        Geometry end;
    };
    const Case cases[] = {
        {"plain move", {100, 50, 20, 10}, {{5, -7}}, {105, 43, 20, 10}},
        {"up-left past the edge", {10, 5, 20, 10}, {{-30, -30}}, {0, 0, 20, 10}},
        {"the clamp is not remembered", {10, 5, 20, 10}, {{-30, -30}, {4, 3}}, {4, 3, 20, 10}},
        {"right and down stop at the last column and row", {300, 230, 20, 10}, {{500, 400}}, {319, 239, 20, 10}},
        {"a stored negative position snaps to 0", {-50, -9, 20, 10}, {{1, 1}}, {0, 0, 20, 10}},
        {"a stored far position comes back without overflow",
         {std::numeric_limits<std::int32_t>::max(), 0, 1, 1},
         {{100, 0}},
         {319, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        TUserObject object;
        setGeometry(object, c.start);
        for (const auto& s : c.steps)
            object.MoveBy(s.dx, s.dy);
        EXPECT_EQ(geometryOf(object), c.end) << c.name;
    }
}

TEST(UserObjectDrag, ResizeByEachCornerFlipsClampsAndKeepsAPixel) {
    struct Case {
        const char* name;
        int corner;
        Geometry start;
        std::vector<Step> steps;
        Geometry end;
    };
    const Geometry box{100, 100, 50, 40};
    const Case cases[] = {
        {"top-left grows up-left", TUserObject::kTopLeft, box, {{-10, -5}}, {90, 95, 60, 45}},
        {"top-right", TUserObject::kTopRight, box, {{10, -5}}, {100, 95, 60, 45}},
        {"bottom-right", TUserObject::kBottomRight, box, {{10, 5}}, {100, 100, 60, 45}},
        {"bottom-left", TUserObject::kBottomLeft, box, {{-10, 5}}, {90, 100, 60, 45}},
        // The old left edge becomes the right edge; the pointer at 80 is the new left edge.
        {"bottom-right past the left edge flips", TUserObject::kBottomRight, box, {{-70, 0}}, {80, 100, 20, 40}},
        // Still corner 3: width keeps following dx, so the right edge (not the pointer's) moves.
        {"flipped corner keeps its formula", TUserObject::kBottomRight, box, {{-70, 0}, {-10, 0}}, {80, 100, 10, 40}},
        {"a second flip turns it again", TUserObject::kBottomRight, box, {{-70, 0}, {-30, 0}}, {70, 100, 10, 40}},
        {"bottom-right past the top flips vertically", TUserObject::kBottomRight, box, {{0, -60}}, {100, 80, 50, 20}},
        {"top-left past the bottom-right flips both", TUserObject::kTopLeft, box, {{60, 50}}, {150, 140, 10, 10}},
        // The width keeps the whole change; only left is clamped, so the right edge moves out.
        {"top-left past the screen edge clamps left",
         TUserObject::kTopLeft,
         {10, 10, 50, 40},
         {{-30, 0}},
         {0, 10, 80, 40}},
        {"top-left past the top clamps top", TUserObject::kTopLeft, {10, 10, 50, 40}, {{0, -25}}, {10, 0, 50, 65}},
        {"bottom-left flipped past the screen edge",
         TUserObject::kBottomLeft,
         {5, 5, 10, 10},
         {{0, -30}},
         {5, 0, 10, 20}},
        {"right and bottom are not limited",
         TUserObject::kBottomRight,
         {300, 200, 50, 40},
         {{400, 300}},
         {300, 200, 450, 340}},
        {"flipped past the right edge", TUserObject::kTopLeft, {300, 100, 20, 40}, {{30, 0}}, {319, 100, 10, 40}},
        {"flipped past the bottom edge", TUserObject::kTopLeft, {100, 230, 20, 10}, {{0, 20}}, {100, 239, 20, 10}},
        {"onto the opposite corner", TUserObject::kTopLeft, box, {{50, 40}}, {150, 140, 1, 1}},
        {"onto the left edge", TUserObject::kBottomRight, box, {{-50, 0}}, {100, 100, 1, 40}},
        {"onto the bottom edge", TUserObject::kTopRight, box, {{0, 40}}, {100, 140, 50, 1}},
        {"a stored far object comes back", TUserObject::kBottomRight, {500, 300, 20, 10}, {{1, 1}}, {319, 239, 21, 11}},
        {"no corner changes nothing", TUserObject::kNoCorner, box, {{10, 10}}, box},
        {"an unknown corner changes nothing", 5, box, {{10, 10}}, box},
        {"no overflow flipping the widest",
         TUserObject::kBottomRight,
         {0, 0, std::numeric_limits<std::int32_t>::min(), 1},
         {{0, 0}},
         {0, 0, std::numeric_limits<std::int32_t>::max(), 1}},
    };
    for (const auto& c : cases) {
        TUserObject object;
        setGeometry(object, c.start);
        for (const auto& s : c.steps)
            object.ResizeByCorner(c.corner, s.dx, s.dy);
        EXPECT_EQ(geometryOf(object), c.end) << c.name;
    }
}

} // namespace
