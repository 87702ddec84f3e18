#include "Backgrounds.h"

#include "ArtCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A faint woven grain, one level either way; repeating every four pixels, it costs little to store.
constexpr int kWeave[4][4] = {{1, 0, 0, -1}, {0, 1, -1, 0}, {0, -1, 1, 0}, {-1, 0, 0, 1}};

} // namespace

Picture MakeMainBackground() {
    const Paint top = Hex(0x2C3748);
    const Paint bottom = Hex(0x121821);
    const Paint light = Hex(0x4A6078);
    Picture picture(kWidth, kHeight);
    picture.SetHasAlpha(false);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double u = (x + 0.5) / kWidth;
            const double v = (y + 0.5) / kHeight;
            Paint c = Mix(top, bottom, std::pow(v, 0.9));
            // A wide pool of light from above the top edge.
            const double dx = (u - 0.5) * 1.3;
            const double dy = v + 0.25;
            c = Mix(c, light, 0.35 * std::exp(-(dx * dx + dy * dy) * 3.2));
            // Corners fall off gently.
            const double ex = u - 0.5;
            const double ey = v - 0.5;
            c = Darken(c, 0.35 * std::pow(std::min(1.0, (ex * ex + ey * ey) * 2.0), 1.6));
            const int grain = kWeave[y % 4][x % 4];
            auto channel = [&](double value) {
                return static_cast<std::uint8_t>(std::clamp<long>(std::lround(value * 255.0) + grain, 0, 255));
            };
            picture.SetPixel(x, y, {channel(c.r), channel(c.g), channel(c.b), 255});
        }
    }
    return picture;
}
