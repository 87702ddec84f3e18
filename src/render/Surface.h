#pragma once

#include "Argb.h"
#include "Pen.h"
#include "Rect.h"
#include "picture/Picture.h"

#include <cstdint>
#include <vector>

// An opaque raster of Argb pixels, rows top to bottom with no padding, to draw pages and faces on.
// Every operation clips to the surface, negative coordinates included; nothing outside it is
// touched or read. A viewer can wrap Data() and Stride() without copying, e.g. in a QImage of
// Format_RGB32 (alpha is always 0xFF, so Format_ARGB32 shows the same).
//
// Pictures with alpha are blended per channel as
//     result = (picture * a + surface * (255 - a) + 127) / 255     (integer division)
// which rounds to the nearest level, keeps a = 255 exactly the picture and a = 0 exactly the
// surface, and gives the same bytes on every machine, so drawings can be compared exactly.
class Surface {
public:
    // Sides above this are refused: no screen or preview comes near it.
    static constexpr int kMaxSide = 16384;

    Surface() = default;
    // Throws std::invalid_argument for a negative side or one above kMaxSide.
    Surface(int width, int height, Argb fill = kBlack);

    int Width() const { return width; }
    int Height() const { return height; }
    Rect Bounds() const { return {0, 0, width, height}; }

    // A pixel outside the surface reads as 0 (which no pixel inside can be); writes outside are ignored.
    Argb Pixel(int x, int y) const;
    void SetPixel(int x, int y, Argb color);

    void Fill(Argb color);
    void FillRect(const Rect& rect, Argb color);

    // The picture at its natural size with its top-left corner at (x, y), only inside `clip`:
    // blended by alpha when the picture has an alpha channel (or a transparent colour, which the
    // picture holds as alpha), else copied.
    void DrawPicture(const Picture& picture, int x, int y, const Rect& clip);
    void DrawPicture(const Picture& picture, int x, int y) { DrawPicture(picture, x, y, Bounds()); }
    // The picture stretched or shrunk to fill `dest`, without smoothing, only inside `clip`, with
    // alpha as above. Each target pixel takes the source pixel under its centre, so a whole-number
    // enlargement repeats every pixel equally often and a reduction keeps the middle of each span.
    void DrawPictureScaled(const Picture& picture, const Rect& dest, const Rect& clip);

    // Copies the whole of another surface (an off-screen buffer) with its top-left corner at (x, y).
    void Blit(const Surface& source, int x, int y);

    // A one-pixel line from (x0, y0) up to but not including (x1, y1).
    void DrawLine(int x0, int y0, int x1, int y1, const Pen& pen);
    // A one-pixel outline of `outline` around the edge pixels of the rectangle, the inside filled with `fill`.
    void DrawRectangle(const Rect& rect, Argb outline, Argb fill);

    Argb* Data() { return pixels.data(); }
    const Argb* Data() const { return pixels.data(); }
    // Bytes from one row to the next.
    int Stride() const { return width * static_cast<int>(sizeof(Argb)); }

    // An opaque RGB picture of the same pixels (for PNG files and comparisons).
    Picture ToPicture() const;
    std::vector<std::uint8_t> EncodePng() const { return ToPicture().EncodePng(); }

    friend bool operator==(const Surface&, const Surface&) = default;

private:
    Argb* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
    const Argb* row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
    void plot(long long x, long long y, Argb color);

    int width = 0;
    int height = 0;
    std::vector<Argb> pixels;
};
