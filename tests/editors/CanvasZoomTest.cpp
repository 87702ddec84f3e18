#include "editors/canvas/CanvasZoom.h"
#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "editors/canvas/CZylWnd.h"
#include "editors/dialogs/CZylUserDlg.h"
#include "layout/TLayout.h"
#include "layout/TUserImage.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CanvasZoom, OpensNearThePanelsOwnSize) {
    const struct {
        double dotsPerInch;
        double ratio;
        int zoom;
    } cases[] = {
        {96, 1, 1},  {110, 2, 1}, {141, 2, 1}, {128, 1.5, 2}, {150, 1, 2},      {282, 1, 2},
        {400, 1, 4}, {700, 1, 4}, {0, 1, 1},   {NAN, 1, 1},   {INFINITY, 2, 1}, {200, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpeningZoom(c.dotsPerInch, c.ratio), c.zoom) << c.dotsPerInch << " dpi at " << c.ratio;
}

class CanvasZoomTest : public ::testing::Test {
protected:
    CanvasZoomTest() {
        auto image = std::make_unique<TUserImage>();
        setGeometry(*image, {40, 40, 80, 60});
        object = page.AddObject(std::move(image));
    }

    QApplication& app = QtTestApp();
    TLayout layout;
    TUserPage page{&layout, u"Page"};
    TUserObject* object = nullptr;
    ScriptedUiHost ui;
};

// Each page pixel is a zoom x zoom block of exactly the colour the page drawing gives it.
TEST_F(CanvasZoomTest, ShowsThePageDrawingEnlargedByWholeNumbers) {
    CZylWnd canvas(page, ui);
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
TEST_F(CanvasZoomTest, MouseWorksInPagePixelsAt3x) {
    CZylWnd canvas(page, ui);
    canvas.SetZoom(3);
    canvas.show();
    const auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(&canvas, Qt::LeftButton, {}, from);
        QTest::mouseEvent(QTest::MouseMove, &canvas, Qt::NoButton, Qt::AltModifier, to);
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, to);
    };
    // Pixel (50, 50) is widget 150..152; widget (167, 170) is page pixel (55, 56).
    drag({152, 150}, {167, 170});
    EXPECT_EQ(canvas.selected, object);
    EXPECT_EQ(geometryOf(*object), (Geometry{45, 46, 80, 60}));
    // The bottom-right corner (125, 106) grabs 4 page pixels around it: widget 363 is pixel 121.
    drag({363, 306}, {393, 336});
    EXPECT_EQ(geometryOf(*object), (Geometry{45, 46, 90, 70}));

    QTest::mouseClick(&canvas, Qt::RightButton, {}, {301, 152});
    ASSERT_EQ(ui.menuPoints.size(), 1u);
    EXPECT_EQ(ui.menuPoints.back(), canvas.mapToGlobal(QPoint(301, 151)));
    EXPECT_TRUE(ui.menus.back().contains("Properties")) << "the object lies under page pixel (100, 50)";
}

TEST_F(CanvasZoomTest, KeysAndTheWheelWithCtrlZoomWithinOneToFour) {
    CZylUserDlg editor(layout, page, ui, false);
    CZylWnd& canvas = *editor.canvas;
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    const QSize atOne = editor.size();
    const auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(10, 10), canvas.mapToGlobal(QPointF(10, 10)), {}, {0, delta}, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &event);
    };
    const struct {
        std::function<void()> step;
        int zoom;
    } steps[] = {
        {[&] { QTest::keyClick(editor.pageName, Qt::Key_Plus, Qt::ControlModifier); }, 2},
        {[&] { QTest::keyClick(&canvas, Qt::Key_Equal, Qt::ControlModifier); }, 3},
        {[&] { QTest::keyClick(&canvas, Qt::Key_Plus, Qt::ControlModifier); }, 4},
        {[&] { QTest::keyClick(&canvas, Qt::Key_Plus, Qt::ControlModifier); }, 4},
        {[&] { QTest::keyClick(&canvas, Qt::Key_Minus, Qt::ControlModifier); }, 3},
        {[&] { QTest::keyClick(&canvas, Qt::Key_0, Qt::ControlModifier); }, 1},
        {[&] { QTest::keyClick(&canvas, Qt::Key_Minus, Qt::ControlModifier); }, 1},
        {[&] { wheel(120, Qt::ControlModifier); }, 2},
        {[&] { wheel(60, Qt::ControlModifier); }, 2},
        {[&] { wheel(60, Qt::ControlModifier); }, 3},
        {[&] { wheel(-120, Qt::NoModifier); }, 3},
        {[&] { wheel(-480, Qt::ControlModifier); }, 1},
    };
    for (const auto& s : steps) {
        s.step();
        EXPECT_EQ(canvas.Zoom(), s.zoom) << &s - steps;
        EXPECT_EQ(editor.size(), atOne + QSize(320, 240) * (s.zoom - 1)) << &s - steps;
    }
}

} // namespace
