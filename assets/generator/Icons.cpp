#include "Icons.h"

#include "ArtCanvas.h"
#include "Shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Shape = std::function<double(double, double)>;

// Distance to a triangle whose corners run clockwise on screen; exact inside, near enough outside.
double triangleDistance(double x, double y, const double (&p)[3][2]) {
    double d = -1e9;
    for (int i = 0; i < 3; ++i) {
        const double ax = p[i][0];
        const double ay = p[i][1];
        const double bx = p[(i + 1) % 3][0];
        const double by = p[(i + 1) % 3][1];
        const double ex = bx - ax;
        const double ey = by - ay;
        const double length = std::sqrt(ex * ex + ey * ey);
        d = std::max(d, ((x - ax) * ey - (y - ay) * ex) / length);
    }
    return d;
}

// Shadow, dark outline, then the light body on top.
void paintOutlined(ArtCanvas& canvas, const Shape& shape, const Paint& fill, const Paint& fillBottom,
                   const Paint& outline, double outlineWidth) {
    const int w = canvas.Width();
    const int h = canvas.Height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double shadow = shape(px - 0.7, py - 1.2);
            canvas.Blend(x, y, {0, 0, 0, 1}, 0.35 * std::clamp(1.0 - (shadow - outlineWidth + 0.5) / 2.0, 0.0, 1.0));
            const double d = shape(px, py);
            canvas.Blend(x, y, outline, Coverage(d - outlineWidth));
            canvas.Blend(x, y, Mix(fill, fillBottom, py / h), Coverage(d));
        }
    }
}

} // namespace

Picture MakeReturnIcon() {
    ArtCanvas canvas(27, 27);
    constexpr double kStroke = 1.9; // half the stroke width
    constexpr double kCx = 16.0;
    constexpr double kCy = 14.0;
    constexpr double kRadius = 6.5;
    const double head[3][2] = {{2.0, kCy - kRadius}, {10.5, kCy - kRadius - 5.8}, {10.5, kCy - kRadius + 5.8}};
    const Shape arrow = [&](double x, double y) {
        // The shaft leaves the head to the right, turns down round a half circle and comes back left.
        double d = SegmentDistance(x, y, 9.5, kCy - kRadius, kCx, kCy - kRadius) - kStroke;
        d = std::min(d, SegmentDistance(x, y, kCx, kCy + kRadius, 7.0, kCy + kRadius) - kStroke);
        if (x >= kCx)
            d = std::min(d, std::abs(CircleDistance(x, y, kCx, kCy, kRadius)) - kStroke);
        return std::min(d, triangleDistance(x, y, head));
    };
    paintOutlined(canvas, arrow, Hex(0xFFFFFF), Hex(0xD5DEE9), Hex(0x141A24), 1.1);
    return canvas.ToPicture(true);
}

Picture MakeCancelIcon() {
    ArtCanvas canvas(33, 25);
    const Box key{1.0, 1.0, 32.0, 23.5};
    const Paint red = Hex(0xD8343A);
    const Paint darkRed = Hex(0x5C0E12);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double shadow = RoundedBoxDistance(px, py - 1.0, key, 5.0);
            canvas.Blend(x, y, {0, 0, 0, 1}, 0.3 * Coverage(shadow));
            const double d = RoundedBoxDistance(px, py, key, 5.0);
            const double fromTop = py - key.top;
            Paint c = Lighten(red, 0.3 * (1.0 - SmoothStep(0.0, 9.0, fromTop)));
            c = Darken(c, 0.25 * (1.0 - SmoothStep(0.0, 7.0, key.bottom - py)));
            c = Mix(darkRed, c, Coverage(1.0 + d));
            canvas.Blend(x, y, c, Coverage(d));
        }
    }
    // The cross, white with a soft dark edge so it stands off the red.
    constexpr double kCx = 16.5;
    constexpr double kCy = 12.25;
    constexpr double kArm = 5.8;
    const Shape cross = [&](double x, double y) {
        return std::min(SegmentDistance(x, y, kCx - kArm, kCy - kArm, kCx + kArm, kCy + kArm),
                        SegmentDistance(x, y, kCx + kArm, kCy - kArm, kCx - kArm, kCy + kArm)) -
               1.7;
    };
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const double d = cross(x + 0.5, y + 0.5);
            canvas.Blend(x, y, WithAlpha(darkRed, 0.6), Coverage(d - 0.8));
            canvas.Blend(x, y, Hex(0xFFFFFF), Coverage(d));
        }
    }
    return canvas.ToPicture(true);
}
