#include "editors/canvas/CZylWnd.h"
#include "ObjectGeometry.h"
#include "QtTestApp.h"
#include "ScriptedUiHost.h"
#include "layout/TLayout.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Two overlapping objects: `lower` drawn first, `upper` on top of it around (100, 80).
class CZylWndTest : public ::testing::Test {
protected:
    CZylWndTest() {
        lower = place(std::make_unique<TUserHotspot>(), kLower);
        upper = place(std::make_unique<TUserImage>(), kUpper);
        canvas.show();
    }

    TUserObject* place(std::unique_ptr<TUserObject> object, const Geometry& g) {
        setGeometry(*object, g);
        return page.AddObject(std::move(object));
    }

    TUserObject* named(char which) const { return which == 'L' ? lower : which == 'U' ? upper : nullptr; }

    static constexpr Geometry kLower{40, 40, 80, 60};
    static constexpr Geometry kUpper{90, 70, 80, 60};

    // First, so the application exists before the canvas is made.
    QApplication& app = QtTestApp();
    TLayout layout;
    TUserPage page{&layout, u"Page"};
    TUserObject* lower = nullptr;
    TUserObject* upper = nullptr;
    ScriptedUiHost ui;
    CZylWnd canvas{page, ui};
};

TEST_F(CZylWndTest, IsAFixedPageSizedCanvasNamedForAccessibility) {
    EXPECT_EQ(canvas.objectName(), "ZylWnd");
    EXPECT_EQ(canvas.accessibleName(), "Page");
    EXPECT_EQ(canvas.size(), QSize(320, 240));
    EXPECT_EQ(canvas.minimumSize(), canvas.maximumSize());
    EXPECT_EQ(canvas.page, &page);
    EXPECT_EQ(canvas.selected, nullptr);
    EXPECT_FALSE(canvas.moving || canvas.resizing || canvas.isSleepPage);
}

TEST_F(CZylWndTest, LeftDragSelectsMovesAndResizes) {
    struct Case {
        const char* name;
        char selectedBefore; // 'L', 'U' or '-'
        QPoint press;
        std::vector<QPoint> moves;
        char selectedAfter;
        int corner; // 0: a move drag
        Geometry lowerAfter;
        Geometry upperAfter;
    };
    // No point is (0, 0): QTest takes a null point for the widget's centre.
    const Case cases[] = {
        {"a covered selected object keeps the selection and is dragged",
         'L',
         {100, 80},
         {{90, 75}},
         'L',
         0,
         {30, 35, 80, 60},
         kUpper},
        {"with nothing selected the topmost object is taken",
         '-',
         {100, 80},
         {{110, 90}},
         'U',
         0,
         kLower,
         {100, 80, 80, 60}},
        {"a press outside the selection selects what is there",
         'U',
         {50, 50},
         {{55, 50}},
         'L',
         0,
         {45, 40, 80, 60},
         kUpper},
        {"empty area clears the selection and the drag changes nothing",
         'L',
         {300, 10},
         {{250, 50}, {10, 10}},
         '-',
         0,
         kLower,
         kUpper},
        {"just outside the top-left corner starts a resize",
         'L',
         {36, 36},
         {{30, 30}},
         'L',
         1,
         {34, 34, 86, 66},
         kUpper},
        {"a corner handle wins over the object on top",
         'L',
         {123, 103},
         {{130, 110}},
         'L',
         3,
         {40, 40, 87, 67},
         kUpper},
        {"top-right corner", 'L', {120, 40}, {{125, 30}}, 'L', 2, {40, 30, 85, 70}, kUpper},
        {"bottom-left corner", 'L', {40, 100}, {{35, 110}}, 'L', 4, {35, 40, 85, 70}, kUpper},
        // The old left edge becomes the right edge; afterwards width still follows dx as for
        // corner 3, so the right edge moves with the mouse, not the edge under the pointer.
        {"corner 3 dragged past the left edge flips and stays corner 3",
         'L',
         {120, 100},
         {{20, 100}, {10, 100}},
         'L',
         3,
         {20, 40, 10, 60},
         kUpper},
        {"up-left past the screen edge stops at 0, right and down at the last pixel",
         'L',
         {50, 50},
         {{-5, -5}, {395, 295}},
         'L',
         0,
         {319, 239, 80, 60},
         kUpper},
        {"top-left past the screen edge clamps left and keeps the full width",
         'L',
         {40, 40},
         {{-20, 40}},
         'L',
         1,
         {0, 40, 140, 60},
         kUpper},
    };
    for (const auto& c : cases) {
        setGeometry(*lower, kLower);
        setGeometry(*upper, kUpper);
        canvas.selected = named(c.selectedBefore);

        QTest::mousePress(&canvas, Qt::LeftButton, {}, c.press);
        EXPECT_EQ(canvas.resizing, c.corner != 0) << c.name;
        EXPECT_EQ(canvas.moving, c.corner == 0) << c.name;
        if (c.corner != 0) {
            EXPECT_EQ(canvas.activeCorner, c.corner) << c.name;
        }
        // With Alt held, so the alignment guides leave the plain drag rules alone.
        for (const QPoint& to : c.moves)
            QTest::mouseEvent(QTest::MouseMove, &canvas, Qt::NoButton, Qt::AltModifier, to);
        QTest::mouseRelease(&canvas, Qt::LeftButton, {}, c.moves.back());

        EXPECT_EQ(canvas.selected, named(c.selectedAfter)) << c.name;
        EXPECT_EQ(geometryOf(*lower), c.lowerAfter) << c.name;
        EXPECT_EQ(geometryOf(*upper), c.upperAfter) << c.name;
        EXPECT_FALSE(canvas.moving || canvas.resizing) << c.name;
        // After the release the mouse moves nothing.
        QTest::mouseMove(&canvas, {5, 5});
        EXPECT_EQ(geometryOf(*lower), c.lowerAfter) << c.name;
        EXPECT_EQ(geometryOf(*upper), c.upperAfter) << c.name;
    }
}

TEST_F(CZylWndTest, RightButtonNeitherSelectsNorDrags) {
    canvas.selected = lower;
    QTest::mousePress(&canvas, Qt::RightButton, {}, {150, 120});
    QTest::mouseMove(&canvas, {160, 130});
    QTest::mouseRelease(&canvas, Qt::RightButton, {}, {160, 130});
    EXPECT_EQ(canvas.selected, lower);
    EXPECT_FALSE(canvas.moving || canvas.resizing);
    EXPECT_EQ(geometryOf(*upper), kUpper);
}

// The popup takes the mouse, so the left release never arrives: the popup ends the drag whole,
// and the next plain drag only moves.
TEST_F(CZylWndTest, APopupDuringADragEndsItWhole) {
    canvas.selected = lower;
    QTest::mousePress(&canvas, Qt::LeftButton, {}, {120, 100});
    ASSERT_TRUE(canvas.resizing);
    QTest::mouseClick(&canvas, Qt::RightButton, {}, {150, 120});
    EXPECT_FALSE(canvas.moving || canvas.resizing);
    QTest::mousePress(&canvas, Qt::LeftButton, {}, {50, 50});
    QTest::mouseMove(&canvas, {60, 55});
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, {60, 55});
    EXPECT_EQ(geometryOf(*lower), (Geometry{50, 45, 80, 60}));
    EXPECT_FALSE(canvas.moving || canvas.resizing);
}

// Tab reaches an object outside the screen and an arrow brings it back; past either end Tab
// leaves the canvas, so the window stays usable by keyboard.
TEST_F(CZylWndTest, TabAndArrowsReachAndBringBackAnObjectOutside) {
    TUserObject* far = place(std::make_unique<TUserImage>(), {500, 300, 20, 10});
    QWidget window;
    auto* keys = new CZylWnd(page, ui, &window);
    auto* next = new QLineEdit(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    keys->setFocus(Qt::TabFocusReason);
    const Geometry out{500, 300, 20, 10};
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QWidget* focus;
        TUserObject* selected;
        Geometry farAfter;
    } steps[] = {
        {Qt::Key_Tab, {}, keys, lower, out},
        {Qt::Key_Tab, {}, keys, upper, out},
        {Qt::Key_Tab, {}, keys, far, out},
        {Qt::Key_Tab, {}, next, far, out},
        {Qt::Key_Backtab, {}, keys, far, out},
        {Qt::Key_Backtab, {}, keys, far, out},
        {Qt::Key_Left, {}, keys, far, {319, 239, 20, 10}},
        {Qt::Key_Left, Qt::ShiftModifier, keys, far, {309, 239, 20, 10}},
        {Qt::Key_Up, {}, keys, far, {309, 238, 20, 10}},
        {Qt::Key_Right, Qt::ShiftModifier, keys, far, {319, 238, 20, 10}},
        {Qt::Key_Right, {}, keys, far, {319, 238, 20, 10}},
    };
    for (const auto& step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key, step.modifiers);
        EXPECT_EQ(QApplication::focusWidget(), step.focus) << &step - steps;
        EXPECT_EQ(keys->selected, step.selected) << &step - steps;
        EXPECT_EQ(geometryOf(*far), step.farAfter) << &step - steps;
    }
}

// Counts the paints a widget receives once the pending updates are flushed.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A changed selection and every step of a drag show at once; a drag over nothing draws nothing new.
TEST_F(CZylWndTest, RepaintsWhenTheSelectionOrAnObjectChanges) {
    PaintCounter counter;
    canvas.installEventFilter(&counter);
    const auto paintsAfter = [&](const auto& step) {
        QApplication::processEvents();
        counter.paints = 0;
        step();
        QApplication::processEvents();
        return counter.paints;
    };
    EXPECT_GT(paintsAfter([&] { canvas.OnLButtonDown(50, 50); }), 0) << "selected";
    EXPECT_GT(paintsAfter([&] { canvas.OnMouseMove(60, 55); }), 0) << "moved";
    canvas.OnLButtonUp();
    canvas.OnLButtonDown(lower->left + lower->width, lower->top);
    EXPECT_TRUE(canvas.resizing);
    EXPECT_GT(paintsAfter([&] { canvas.OnMouseMove(150, 30); }), 0) << "resized";
    canvas.OnLButtonUp();
    EXPECT_GT(paintsAfter([&] { canvas.OnLButtonDown(300, 10); }), 0) << "cleared";
    EXPECT_EQ(paintsAfter([&] { canvas.OnMouseMove(250, 30); }), 0) << "dragged nothing";
    canvas.OnLButtonUp();
    canvas.removeEventFilter(&counter);
}

// What the canvas shows is the page as the renderer draws it, selection marks included.
TEST_F(CZylWndTest, ShowsThePageWithTheSelectionPixelForPixel) {
    for (TUserObject* selection : {static_cast<TUserObject*>(nullptr), lower, upper}) {
        canvas.selected = selection;
        Surface expected(kScreenWidth, kScreenHeight);
        PaintPage(expected, page, selection);
        const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), QSize(kScreenWidth, kScreenHeight));
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                ASSERT_EQ(shown.pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
    }
}

// The canvas, not the page drawing, shows its focus: every other pixel of its edge inverted.
TEST_F(CZylWndTest, ShowsTheFocusAsAnInvertedDottedEdge) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&canvas));
    canvas.setFocus();
    Surface expected(kScreenWidth, kScreenHeight);
    PaintPage(expected, page, nullptr);
    const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(0, 0), QPoint(319, 1), QPoint(161, 239), QPoint(0, 120)})
        EXPECT_EQ(shown.pixel(p), expected.Pixel(p.x(), p.y()) ^ 0xFFFFFFu) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(1, 0), QPoint(160, 239), QPoint(1, 1), QPoint(160, 120)})
        EXPECT_EQ(shown.pixel(p), expected.Pixel(p.x(), p.y())) << p.x() << "," << p.y();
}

} // namespace
