#pragma once

#include <cstdint>

// A surface pixel: 0xAARRGGBB in one 32-bit word, the layout QImage::Format_ARGB32 and
// Format_RGB32 expect in memory. Surfaces are opaque, so alpha is always 0xFF there.
using Argb = std::uint32_t;

constexpr Argb kOpaque = 0xFF000000u;
constexpr Argb kBlack = 0xFF000000u;
constexpr Argb kWhite = 0xFFFFFFFFu;

constexpr Argb MakeArgb(int red, int green, int blue) {
    return kOpaque | (Argb(red & 0xFF) << 16) | (Argb(green & 0xFF) << 8) | Argb(blue & 0xFF);
}

constexpr int RedOf(Argb color) {
    return int(color >> 16 & 0xFF);
}
constexpr int GreenOf(Argb color) {
    return int(color >> 8 & 0xFF);
}
constexpr int BlueOf(Argb color) {
    return int(color & 0xFF);
}

// The model keeps colours as COLORREF: red in bits 0-7, green 8-15, blue 16-23; the top byte is
// not part of the colour.
constexpr Argb ArgbFromColorref(std::int32_t colorref) {
    const auto bits = std::uint32_t(colorref);
    return MakeArgb(int(bits & 0xFF), int(bits >> 8 & 0xFF), int(bits >> 16 & 0xFF));
}

constexpr std::int32_t ColorrefFromArgb(Argb color) {
    return std::int32_t(Argb(RedOf(color)) | Argb(GreenOf(color)) << 8 | Argb(BlueOf(color)) << 16);
}
