#include "editors/canvas/AlignmentGuides.h"
#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/CZylWnd.h"
#include "layout/TLayout.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

// Beside Guide, where the test's printer finds it.
static void PrintTo(const Guide& g, std::ostream* os) {
    *os << (g.vertical ? "x=" : "y=") << g.at;
}

namespace {

TEST(AlignmentGuides, SnapsTheNearestMovingLineWithinFourPixels) {
    const GuideBox other{100, 100, 40, 20}; // columns 100, 120, 140; rows 100, 110, 120
    const struct {
        const char* name;
        GuideBox moving;
        int corner;
        int dx, dy;
        std::vector<Guide> guides;
    } cases[] = {
        {"left edge onto left edge", {103, 10, 10, 10}, 0, -3, 0, {{true, 100}}},
        {"four away snaps", {96, 10, 30, 10}, 0, 4, 0, {{true, 100}}},
        {"five away does not", {105, 10, 10, 10}, 0, 0, 0, {}},
        {"right edge onto left edge", {50, 10, 48, 10}, 0, 2, 0, {{true, 100}}},
        {"centre onto centre", {98, 10, 40, 10}, 0, 2, 0, {{true, 100}, {true, 120}, {true, 140}}},
        {"the page's centre lines", {30, 93, 20, 50}, 0, 0, 2, {{false, 120}}},
        {"centre onto the page's centre column", {122, 10, 77, 10}, 0, 0, 0, {{true, 160}}},
        {"the nearest wins", {138, 30, 10, 10}, 0, 2, 0, {{true, 140}}},
        {"both directions", {2, 97, 95, 20}, 0, 3, 3, {{true, 100}, {false, 100}, {false, 110}, {false, 120}}},
        {"a corner moves only its edges",
         {60, 60, 38, 58},
         TUserObject::kBottomRight,
         2,
         2,
         {{true, 100}, {false, 120}}},
        {"top-left corner", {97, 117, 10, 10}, TUserObject::kTopLeft, 3, 3, {{true, 100}, {false, 120}}},
        {"a corner ignores the centre", {60, 10, 78, 10}, TUserObject::kBottomRight, 2, 0, {{true, 140}}},
        {"a side keeps a pixel", {98, 10, 1, 10}, TUserObject::kBottomLeft, 0, 0, {}},
        {"an edge stays on the page", {2, 2, 10, 10}, 0, 0, 0, {}},
        {"nothing near", {10, 10, 10, 10}, 0, 0, 0, {}},
    };
    const std::vector<GuideBox> others{other, {-20, -20, 19, 19}};
    for (const auto& c : cases) {
        const SnapResult snap = SnapToGuides(c.moving, c.corner, others);
        EXPECT_EQ(snap.dx, c.dx) << c.name;
        EXPECT_EQ(snap.dy, c.dy) << c.name;
        EXPECT_EQ(snap.guides, c.guides) << c.name;
    }
}

// A hot spot dragged at 2x past another: it snaps near it, follows the pointer again beyond, never
// with Alt, and the guide is the canvas's own mark, gone with the release.
TEST(AlignmentGuides, TheCanvasSnapsAndShowsGuidesOnlyDuringADrag) {
    QApplication& app = QtTestApp();
    (void)app;
    TLayout layout;
    TUserPage page(&layout, u"Page");
    ScriptedUiHost ui;
    auto add = [&](const Geometry& g) {
        auto hotspot = std::make_unique<TUserHotspot>();
        setGeometry(*hotspot, g);
        return page.AddObject(std::move(hotspot));
    };
    add({200, 10, 60, 30});
    TUserObject* moving = add({20, 150, 40, 30});
    CZylWnd canvas(page, ui);
    canvas.SetZoom(2);
    const auto matchesPage = [&](int column) {
        Surface drawn(kScreenWidth, kScreenHeight);
        PaintPage(drawn, page, canvas.selected);
        const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shown.height(); ++y)
            if (shown.pixel(column * 2, y) != drawn.Pixel(column, y / 2))
                return false;
        return true;
    };

    canvas.OnLButtonDown(30, 160);
    const struct {
        QPoint to;
        Qt::KeyboardModifiers modifiers;
        int left;
        bool guide;
    } steps[] = {
        {{207, 160}, {}, 200, true},  // left 197: onto the other's left edge
        {{235, 160}, {}, 225, false}, // further on: follows the pointer
        {{222, 160}, {}, 210, true},  // centre 232 onto 230
        {{207, 160}, Qt::AltModifier, 197, false},
    };
    for (const auto& s : steps) {
        canvas.OnMouseMove(s.to.x(), s.to.y(), s.modifiers);
        EXPECT_EQ(moving->left, s.left) << s.to.x();
        EXPECT_EQ(moving->top, 150) << s.to.x();
        EXPECT_EQ(!canvas.Guides().empty(), s.guide) << s.to.x();
        EXPECT_EQ(matchesPage(s.guide ? canvas.Guides().front().at : 200), !s.guide) << s.to.x();
    }
    canvas.OnMouseMove(208, 160);
    ASSERT_EQ(moving->left, 200);
    canvas.OnLButtonUp();
    EXPECT_EQ(moving->left, 200) << "the release keeps the snapped place";
    EXPECT_TRUE(canvas.Guides().empty());
    EXPECT_TRUE(matchesPage(200));
}

} // namespace
