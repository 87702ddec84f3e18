#include "SliderArt.h"

#include "ArtCanvas.h"
#include "Shapes.h"

#include <algorithm>
#include <cmath>

using namespace slider_art;

namespace {

// The track runs down the middle of the 45 columns the strip is drawn with: a groove with a lip
// either side, 11 pixels across, its straight part on whole pixels so that every track pixel is
// either opaque or clear. Track rows are drawn again under and beside the knob, and anything
// half-transparent there would darken where it is drawn twice.
constexpr double kCentreX = 22.5;
constexpr double kHalfWidth = 5.5;
constexpr double kLipWidth = 1.0;
constexpr double kTrackTop = 3.0;     // where the rounded top end begins
constexpr double kTrackBottom = 73.0; // and where the bottom end stops

constexpr double kKnobCentreY = (kKnobFirstRow + kKnobLastRow + 1) / 2.0;
const Box kKnob{3.0, kKnobCentreY - 19.0, 42.0, kKnobCentreY + 19.0};
constexpr double kKnobRadius = 7.0;

void drawTrack(ArtCanvas& canvas) {
    const Paint shadowLip = Hex(0x4A5361);
    const Paint litLip = Hex(0xA9B3C1);
    const Paint floorDark = Hex(0x06080C);
    const Paint floorLight = Hex(0x27303D);
    const double axisTop = kTrackTop + kHalfWidth;
    const double axisBottom = kTrackBottom - kHalfWidth;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth - 1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double ay = std::clamp(py, axisTop, axisBottom);
            const double dx = px - kCentreX;
            const double dy = py - ay;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double cover = Coverage(r - kHalfWidth);
            if (cover <= 0)
                continue;
            // How much this point of the cross-section faces away from the light (1 = fully lit wall).
            const double away = r > 0 ? (dx * 0.42 + dy * 0.91) / r : 0.0;
            const Paint lip = Mix(shadowLip, litLip, (away + 1) / 2);
            const Paint floor = Mix(floorDark, floorLight, std::clamp((dx * 0.42 + dy * 0.91 + 4.5) / 9.0, 0.0, 1.0));
            canvas.Blend(x, y, Mix(floor, lip, Coverage(kHalfWidth - kLipWidth - r)), cover);
        }
    }
}

void drawKnob(ArtCanvas& canvas) {
    const Paint top = Hex(0xF1F3F6);
    const Paint bottom = Hex(0xA3ABB7);
    const Paint border = Hex(0x232831);
    const Paint accent = Hex(0xFF8A1F);
    const Box shadowBox{kKnob.left + 0.5, kKnob.top + 1.5, kKnob.right + 0.5, kKnob.bottom + 1.5};
    const double cy = (kKnob.top + kKnob.bottom) / 2;
    for (int y = kKnobFirstRow; y <= kKnobLastRow; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double s = RoundedBoxDistance(px, py, shadowBox, kKnobRadius + 1);
            canvas.Blend(x, y, {0, 0, 0, 1}, 0.45 * std::clamp(1.0 - (s + 1.0) / 2.5, 0.0, 1.0));

            const double d = RoundedBoxDistance(px, py, kKnob, kKnobRadius);
            if (Coverage(d) <= 0)
                continue;
            const double depth = -d;
            const double t = (py - kKnob.top) / (kKnob.bottom - kKnob.top);
            Paint c = Mix(top, bottom, t);
            // A soft dome: lighter toward the middle, so either way up it reads as raised.
            const double fromMiddle = std::abs(py - cy) / ((kKnob.bottom - kKnob.top) / 2);
            c = Lighten(c, 0.12 * (1.0 - fromMiddle * fromMiddle));
            if (depth < 3.0) {
                double nx = 0;
                double ny = 0;
                RoundedBoxNormal(px, py, kKnob, kKnobRadius, nx, ny);
                const double lit = -0.42 * nx - 0.91 * ny;
                const double w = (1.0 - depth / 3.0) * 0.4;
                c = lit > 0 ? Lighten(c, lit * w) : Darken(c, -lit * w);
            }
            // Grip grooves either side of the indicator line.
            for (const double gy : {cy - 8.0, cy - 5.0, cy + 5.0, cy + 8.0}) {
                if (px > kKnob.left + 9 && px < kKnob.right - 9) {
                    c = Mix(c, Hex(0x6B7380), Coverage(std::abs(py - gy) - 0.5) * 0.8);
                    c = Mix(c, Hex(0xFFFFFF), Coverage(std::abs(py - gy - 1.0) - 0.5) * 0.6);
                }
            }
            // The indicator: a coloured line across the knob marks the level.
            const double line = std::max(std::abs(py - cy) - 1.0, -std::min(px - kKnob.left - 4, kKnob.right - 4 - px));
            c = Mix(c, accent, Coverage(line));
            c = Mix(border, c, Coverage(1.0 - depth));
            canvas.Blend(x, y, c, Coverage(d));
        }
    }
}

} // namespace

Picture MakeSliderComposite() {
    ArtCanvas canvas(kWidth, kHeight);
    drawTrack(canvas);
    drawKnob(canvas);
    return canvas.ToPicture(true);
}
