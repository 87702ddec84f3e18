#include "editors/canvas/SurfaceView.h"
#include "QtTestApp.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// What the view puts on the screen is the surface, pixel for pixel, background included.
TEST(SurfaceView, ShowsTheDrawingPixelForPixel) {
    QtTestApp();
    SurfaceView view;
    view.resize(40, 30);
    view.SetPainter([](Surface& surface) {
        surface.FillRect({5, 6, 20, 16}, MakeArgb(255, 0, 0));
        surface.SetPixel(39, 29, MakeArgb(1, 2, 3));
    });
    view.show();
    const Surface drawn = view.Render();
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(40, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(shown.pixel(x, y), drawn.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(drawn.Pixel(5, 6), MakeArgb(255, 0, 0));
    const QColor window = view.palette().color(QPalette::Window);
    EXPECT_EQ(drawn.Pixel(0, 0), MakeArgb(window.red(), window.green(), window.blue()));
}

} // namespace
