#include "Surface.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

// A rectangle in 64-bit coordinates, so positions from far outside the surface clip without overflow.
struct Span64 {
    long long left, top, right, bottom;
};

// The part of the span that lies on a surface of the given size, as int coordinates.
Rect clipTo(const Span64& span, int width, int height) {
    return {static_cast<int>(std::clamp<long long>(span.left, 0, width)),
            static_cast<int>(std::clamp<long long>(span.top, 0, height)),
            static_cast<int>(std::clamp<long long>(span.right, 0, width)),
            static_cast<int>(std::clamp<long long>(span.bottom, 0, height))};
}

inline std::uint32_t blendChannel(std::uint32_t picture, std::uint32_t surface, std::uint32_t alpha) {
    return (picture * alpha + surface * (255 - alpha) + 127) / 255;
}

// One RGBA picture pixel onto a surface pixel: copied when opaque or when the picture has no alpha.
inline void putPixel(Argb& to, const std::uint8_t* from, bool blend) {
    const std::uint32_t alpha = blend ? from[3] : 255;
    if (alpha == 255) {
        to = MakeArgb(from[0], from[1], from[2]);
    } else if (alpha != 0) {
        const Argb old = to;
        to = MakeArgb(static_cast<int>(blendChannel(from[0], static_cast<std::uint32_t>(RedOf(old)), alpha)),
                      static_cast<int>(blendChannel(from[1], static_cast<std::uint32_t>(GreenOf(old)), alpha)),
                      static_cast<int>(blendChannel(from[2], static_cast<std::uint32_t>(BlueOf(old)), alpha)));
    }
}

// The source index under the centre of target index i when `count` source samples span `extent` targets.
inline long long sourceIndex(long long i, long long count, long long extent) {
    return (2 * i + 1) * count / (2 * extent);
}

} // namespace

Surface::Surface(int width, int height, Argb fill) {
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
        throw std::invalid_argument("a surface of " + std::to_string(width) + " x " + std::to_string(height) +
                                    " pixels cannot be made");
    this->width = width;
    this->height = height;
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill | kOpaque);
}

Argb Surface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return row(y)[x];
}

void Surface::SetPixel(int x, int y, Argb color) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    row(y)[x] = color | kOpaque;
}

void Surface::plot(long long x, long long y, Argb color) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    row(static_cast<int>(y))[x] = color;
}

void Surface::Fill(Argb color) {
    std::fill(pixels.begin(), pixels.end(), color | kOpaque);
}

void Surface::FillRect(const Rect& rect, Argb color) {
    const Rect area = rect.Intersected(Bounds());
    if (area.IsEmpty())
        return;
    for (int y = area.top; y < area.bottom; ++y)
        std::fill(row(y) + area.left, row(y) + area.right, color | kOpaque);
}

void Surface::DrawPicture(const Picture& picture, int x, int y, const Rect& clip) {
    const Span64 placed{x, y, static_cast<long long>(x) + picture.Width(),
                        static_cast<long long>(y) + picture.Height()};
    const Rect area = clipTo(placed, width, height).Intersected(clip);
    if (area.IsEmpty())
        return;
    const std::uint8_t* data = picture.Data();
    const bool blend = picture.HasAlpha();
    for (int ty = area.top; ty < area.bottom; ++ty) {
        const std::uint8_t* from =
            data + (static_cast<std::size_t>(ty - y) * static_cast<std::size_t>(picture.Width()) +
                    static_cast<std::size_t>(area.left - x)) *
                       4;
        Argb* to = row(ty) + area.left;
        for (int tx = area.left; tx < area.right; ++tx, from += 4, ++to)
            putPixel(*to, from, blend);
    }
}

void Surface::DrawPictureScaled(const Picture& picture, const Rect& dest, const Rect& clip) {
    if (picture.IsEmpty() || dest.IsEmpty())
        return;
    const Rect area = dest.Intersected(clip).Intersected(Bounds());
    if (area.IsEmpty())
        return;
    const long long destWidth = dest.Width();
    const long long destHeight = dest.Height();
    // Source columns worked out once for the row; every row uses the same.
    std::vector<std::size_t> columns;
    columns.reserve(static_cast<std::size_t>(area.right - area.left));
    for (int tx = area.left; tx < area.right; ++tx)
        columns.push_back(
            static_cast<std::size_t>(sourceIndex(tx - static_cast<long long>(dest.left), picture.Width(), destWidth)));
    const std::uint8_t* data = picture.Data();
    const bool blend = picture.HasAlpha();
    for (int ty = area.top; ty < area.bottom; ++ty) {
        const auto sy =
            static_cast<std::size_t>(sourceIndex(ty - static_cast<long long>(dest.top), picture.Height(), destHeight));
        const std::uint8_t* from = data + sy * static_cast<std::size_t>(picture.Width()) * 4;
        Argb* to = row(ty) + area.left;
        for (const std::size_t sx : columns)
            putPixel(*to++, from + sx * 4, blend);
    }
}

void Surface::Blit(const Surface& source, int x, int y) {
    const Span64 placed{x, y, static_cast<long long>(x) + source.width, static_cast<long long>(y) + source.height};
    const Rect area = clipTo(placed, width, height);
    if (area.IsEmpty())
        return;
    for (int ty = area.top; ty < area.bottom; ++ty) {
        const Argb* from = source.row(ty - y) + (area.left - x);
        std::copy(from, from + (area.right - area.left), row(ty) + area.left);
    }
}

void Surface::DrawLine(int x0, int y0, int x1, int y1, const Pen& pen) {
    const Argb color = pen.color | kOpaque;
    const bool dotted = pen.style == Pen::kDotted;
    // Dots fall on the pixels an even number of steps from the start.
    const auto isDot = [&](long long step) { return !dotted || step % 2 == 0; };

    if (y0 == y1 || x0 == x1) {
        // Straight lines: only the part on the surface is walked, however long the line is.
        const bool across = y0 == y1;
        const long long from = across ? x0 : y0;
        const long long to = across ? x1 : y1;
        const long long fixed = across ? y0 : x0;
        const long long limit = across ? width : height;
        if (fixed < 0 || fixed >= (across ? height : width) || from == to)
            return;
        // The pixels from `from` towards `to`, `to` itself left out, as the range [lo, hi].
        const long long lo = std::max<long long>(to > from ? from : to + 1, 0);
        const long long hi = std::min<long long>(to > from ? to - 1 : from, limit - 1);
        for (long long v = lo; v <= hi; ++v) {
            if (!isDot(std::llabs(v - from)))
                continue;
            if (across)
                plot(v, fixed, color);
            else
                plot(fixed, v, color);
        }
        return;
    }

    // Any other slope: Bresenham's walk, the end point left out. Pages draw only straight lines, so
    // a slanted one is walked whole; one that cannot reach the surface is not walked at all.
    if (std::max(x0, x1) < 0 || std::min(x0, x1) >= width || std::max(y0, y1) < 0 || std::min(y0, y1) >= height)
        return;
    const long long dx = std::llabs(static_cast<long long>(x1) - x0);
    const long long dy = -std::llabs(static_cast<long long>(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    long long err = dx + dy;
    long long x = x0;
    long long y = y0;
    for (long long stepIndex = 0; !(x == x1 && y == y1); ++stepIndex) {
        if (isDot(stepIndex))
            plot(x, y, color);
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void Surface::DrawRectangle(const Rect& rect, Argb outline, Argb fill) {
    if (rect.IsEmpty())
        return;
    FillRect({rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, fill);
    FillRect({rect.left, rect.top, rect.right, rect.top + 1}, outline);
    FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, outline);
    FillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, outline);
    FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, outline);
}

Picture Surface::ToPicture() const {
    Picture picture(width, height);
    std::uint8_t* to = picture.Data();
    for (const Argb pixel : pixels) {
        to[0] = static_cast<std::uint8_t>(RedOf(pixel));
        to[1] = static_cast<std::uint8_t>(GreenOf(pixel));
        to[2] = static_cast<std::uint8_t>(BlueOf(pixel));
        to[3] = 255;
        to += 4;
    }
    return picture;
}
