#include "ArtCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

std::uint8_t toByte(double v) {
    return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0));
}

} // namespace

Paint Hex(std::uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1.0};
}

Paint Mix(const Paint& from, const Paint& to, double t) {
    t = clamp01(t);
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Paint Lighten(const Paint& color, double t) {
    return Mix(color, {1, 1, 1, color.a}, t);
}

Paint Darken(const Paint& color, double t) {
    return Mix(color, {0, 0, 0, color.a}, t);
}

Paint WithAlpha(const Paint& color, double alpha) {
    return {color.r, color.g, color.b, clamp01(alpha)};
}

ArtCanvas::ArtCanvas(int width, int height)
    : width(width), height(height), pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void ArtCanvas::Blend(int x, int y, const Paint& color, double coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    const double a = clamp01(color.a * coverage);
    if (a <= 0)
        return;
    auto& p = pixels[static_cast<std::size_t>(y) * width + x];
    p.r = color.r * a + p.r * (1 - a);
    p.g = color.g * a + p.g * (1 - a);
    p.b = color.b * a + p.b * (1 - a);
    p.a = a + p.a * (1 - a);
}

void ArtCanvas::Put(int x, int y, const Paint& color) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    const double a = clamp01(color.a);
    pixels[static_cast<std::size_t>(y) * width + x] = {color.r * a, color.g * a, color.b * a, a};
}

Paint ArtCanvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {0, 0, 0, 0};
    const auto& p = pixels[static_cast<std::size_t>(y) * width + x];
    if (p.a <= 0)
        return {0, 0, 0, 0};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

Picture ArtCanvas::ToPicture(bool withAlpha) const {
    Picture picture(width, height);
    picture.SetHasAlpha(withAlpha);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Paint c = At(x, y);
            const std::uint8_t alpha = withAlpha ? toByte(c.a) : 255;
            // Colour under a fully clear pixel carries nothing; zero keeps the file small and stable.
            if (alpha == 0)
                picture.SetPixel(x, y, {0, 0, 0, 0});
            else
                picture.SetPixel(x, y, {toByte(c.r), toByte(c.g), toByte(c.b), alpha});
        }
    }
    return picture;
}
