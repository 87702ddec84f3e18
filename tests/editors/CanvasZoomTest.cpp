#include "editors/canvas/CanvasZoom.h"
#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/AlignmentGuides.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/TLayout.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

// Beside Guide, where the test's printer finds it.
static void PrintTo(const Guide& g, std::ostream* os) {
    *os << (g.vertical ? "x=" : "y=") << g.at;
}

namespace {

TEST(CanvasZoom, OpensNearThePanelsOwnSize) {
    const struct {
        double dotsPerInch, ratio;
        int zoom;
    } cases[] = {
        {96, 1, 1},  {110, 2, 1}, {141, 2, 1}, {128, 1.5, 2}, {150, 1, 2},      {282, 1, 2},
        {400, 1, 4}, {700, 1, 4}, {0, 1, 1},   {NAN, 1, 1},   {INFINITY, 2, 1}, {200, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpeningZoom(c.dotsPerInch, c.ratio), c.zoom) << c.dotsPerInch << " dpi at " << c.ratio;
}

TEST(AlignmentGuides, SnapsTheNearestMovingLineWithinFourPixels) {
    using enum TUserObject::Corner;
    const struct {
        const char* name;
        GuideBox moving;
        int corner, dx, dy;
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
        {"a corner moves only its edges", {60, 60, 38, 58}, kBottomRight, 2, 2, {{true, 100}, {false, 120}}},
        {"top-left corner", {97, 117, 10, 10}, kTopLeft, 3, 3, {{true, 100}, {false, 120}}},
        {"a corner ignores the centre", {60, 10, 78, 10}, kBottomRight, 2, 0, {{true, 140}}},
        {"a side keeps a pixel", {98, 10, 1, 10}, kBottomLeft, 0, 0, {}},
        {"an edge stays on the page", {2, 2, 10, 10}, 0, 0, 0, {}},
        {"nothing near", {10, 10, 10, 10}, 0, 0, 0, {}},
    };
    // Columns 100, 120, 140 and rows 100, 110, 120; the other ends just left of and above the page.
    const std::vector<GuideBox> others{{100, 100, 40, 20}, {-20, -20, 19, 19}};
    for (const auto& c : cases) {
        const SnapResult snap = SnapToGuides(c.moving, c.corner, others);
        EXPECT_EQ(snap.dx, c.dx) << c.name;
        EXPECT_EQ(snap.dy, c.dy) << c.name;
        EXPECT_EQ(snap.guides, c.guides) << c.name;
    }
}

// One image at (40, 40), 80 x 60.
class CanvasViewTest : public ::testing::Test {
protected:
    CanvasViewTest() {
        auto image = std::make_unique<TUserImage>();
        setGeometry(*image, {40, 40, 80, 60});
        object = page.AddObject(std::move(image));
    }

    // Whether the canvas's widget column at page column `column` shows what the page drawing has.
    bool showsThePageAt(int column) {
        Surface drawn(kScreenWidth, kScreenHeight);
        PaintPage(drawn, page, canvas.selected);
        const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int zoom = canvas.Zoom();
        for (int y = 0; y < shown.height(); ++y)
            if (shown.pixel(column * zoom, y) != drawn.Pixel(column, y / zoom))
                return false;
        return true;
    }

    QApplication& app = QtTestApp();
    TLayout layout;
    TUserPage page{&layout, u"Page"};
    TUserObject* object = nullptr;
    ScriptedUiHost ui;
    CZylWnd canvas{page, ui};
};

// Each page pixel is a zoom x zoom block of exactly the colour the page drawing gives it.
TEST_F(CanvasViewTest, ShowsThePageDrawingEnlargedByWholeNumbers) {
    EXPECT_EQ(canvas.OpeningZoom(), 1) << "the offscreen screen is of ordinary density";
    canvas.selected = object;
    Surface expected(kScreenWidth, kScreenHeight);
    PaintPage(expected, page, object);
    for (int zoom = kMinZoom; zoom <= kMaxZoom; ++zoom) {
        canvas.SetZoom(zoom);
        const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), QSize(kScreenWidth * zoom, kScreenHeight * zoom));
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                ASSERT_EQ(shown.pixel(x, y), expected.Pixel(x / zoom, y / zoom)) << zoom << "x at " << x << "," << y;
    }
}

// At 3x the press, the drag, the corner handles and the menu's point are all in page pixels.
TEST_F(CanvasViewTest, MouseWorksInPagePixelsAt3x) {
    canvas.SetZoom(3);
    canvas.show();
    const auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(&canvas, Qt::LeftButton, {}, from);
        QTest::mouseEvent(QTest::MouseMove, &canvas, Qt::NoButton, Qt::AltModifier, to);
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, to);
    };
    // Pixel (50, 50) is widget 150..152; widget (167, 170) is page pixel (55, 56).
    drag({152, 150}, {167, 170});
    EXPECT_EQ(geometryOf(*object), (Geometry{45, 46, 80, 60}));
    // The bottom-right corner (125, 106) grabs 4 page pixels around it: widget 363 is pixel 121.
    drag({363, 306}, {393, 336});
    EXPECT_EQ(geometryOf(*object), (Geometry{45, 46, 90, 70}));
    QTest::mouseClick(&canvas, Qt::RightButton, {}, {301, 152});
    EXPECT_EQ(ui.menuPoints.at(0), canvas.mapToGlobal(QPoint(301, 151)));
    EXPECT_TRUE(ui.menus.back().contains("Properties")) << "the object lies under page pixel (100, 50)";
}

TEST_F(CanvasViewTest, KeysAndTheWheelWithCtrlZoomWithinOneToFourAndResizeTheEditor) {
    CZylUserDlg editor(layout, page, ui, false);
    CZylWnd& zoomed = *editor.canvas;
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    const QSize atOne = editor.size();
    const struct {
        Qt::Key key; // none: the wheel
        int wheel;
        Qt::KeyboardModifiers modifiers;
        int zoom;
    } steps[] = {
        {Qt::Key_Plus, 0, Qt::ControlModifier, 2},     {Qt::Key_Equal, 0, Qt::ControlModifier, 3},
        {Qt::Key_Plus, 0, Qt::ControlModifier, 4},     {Qt::Key_Plus, 0, Qt::ControlModifier, 4},
        {Qt::Key_Minus, 0, Qt::ControlModifier, 3},    {Qt::Key_0, 0, Qt::ControlModifier, 1},
        {Qt::Key_Minus, 0, Qt::ControlModifier, 1},    {Qt::Key_unknown, 120, Qt::ControlModifier, 2},
        {Qt::Key_unknown, 60, Qt::ControlModifier, 2}, {Qt::Key_unknown, 60, Qt::ControlModifier, 3},
        {Qt::Key_unknown, -120, Qt::NoModifier, 3},    {Qt::Key_unknown, -480, Qt::ControlModifier, 1},
    };
    for (const auto& s : steps) {
        if (s.key != Qt::Key_unknown) {
            // The keys work from the name field too.
            QTest::keyClick(&s == steps ? static_cast<QWidget*>(editor.pageName) : &zoomed, s.key, s.modifiers);
        } else {
            QWheelEvent wheel({10, 10}, zoomed.mapToGlobal(QPointF(10, 10)), {}, {0, s.wheel}, Qt::NoButton,
                              s.modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&zoomed, &wheel);
        }
        EXPECT_EQ(zoomed.Zoom(), s.zoom) << &s - steps;
        EXPECT_EQ(editor.size(), atOne + QSize(320, 240) * (s.zoom - 1)) << &s - steps;
    }
}

// A hot spot dragged at 2x past the image: it snaps near it, follows the pointer again beyond,
// never with Alt, and the guide is the canvas's own mark, gone with the release.
TEST_F(CanvasViewTest, SnapsAndShowsGuidesOnlyDuringADrag) {
    auto hotspot = std::make_unique<TUserHotspot>();
    setGeometry(*hotspot, {200, 150, 40, 30});
    TUserObject* moving = page.AddObject(std::move(hotspot));
    canvas.SetZoom(2);
    canvas.OnLButtonDown(210, 160);
    const struct {
        int to;
        Qt::KeyboardModifiers modifiers;
        int left;
        bool guide;
    } steps[] = {
        {127, {}, 120, true},  // left 117 onto the image's right edge
        {140, {}, 130, false}, // further on: follows the pointer
        {92, {}, 80, true},    // left 82 onto the image's centre
        {127, Qt::AltModifier, 117, false},
        {128, {}, 120, true},
    };
    for (const auto& s : steps) {
        canvas.OnMouseMove(s.to, 160, s.modifiers);
        EXPECT_EQ(geometryOf(*moving), (Geometry{s.left, 150, 40, 30})) << s.to;
        EXPECT_EQ(!canvas.Guides().empty(), s.guide) << s.to;
        EXPECT_EQ(showsThePageAt(120), !s.guide) << s.to;
    }
    canvas.OnLButtonUp();
    EXPECT_EQ(moving->left, 120) << "the release keeps the snapped place";
    EXPECT_TRUE(canvas.Guides().empty());
    EXPECT_TRUE(showsThePageAt(120));
}

} // namespace
