#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class PixelBudget;

// Raised when a file or buffer cannot be turned into a picture; the message names the cause.
class PictureError : public std::runtime_error {
public:
    explicit PictureError(const std::string& what) : std::runtime_error(what) {}
};

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A decoded image: width × height RGBA pixels, rows top to bottom, 4 bytes per pixel (R, G, B, A).
// A source without transparency has every alpha at 255; a source with an alpha channel or a
// transparent colour keeps it as alpha (0 where the transparent colour was) and says so in HasAlpha().
// A file loaded with a palette (a grey file of up to 8 bits has its greys as one) keeps it, so that
// resampling stays within the file's colours.
class Picture {
public:
    // Sides above this, or more than kMaxPixels in all, are refused before anything is allocated.
    static constexpr int kMaxSide = 16384;
    static constexpr std::int64_t kMaxPixels = std::int64_t{kMaxSide} * kMaxSide;

    Picture() = default;
    // Opaque black of the given size; throws PictureError for a size outside the limits.
    Picture(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    bool IsEmpty() const { return width == 0 || height == 0; }
    bool HasAlpha() const { return hasAlpha; }
    void SetHasAlpha(bool value) { hasAlpha = value; }
    // Empty when any colour may appear; otherwise Resample maps each new pixel to the nearest of these.
    const std::vector<Rgba>& Palette() const { return palette; }
    void SetPalette(std::vector<Rgba> colours) { palette = std::move(colours); }

    // A pixel outside the picture reads as transparent black; writes outside it are ignored.
    Rgba GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Rgba color);
    const std::uint8_t* Data() const { return pixels.data(); }
    std::uint8_t* Data() { return pixels.data(); }

    // Each of these replaces the picture only when the whole source decodes; on failure it throws
    // PictureError and the picture stays as it was.
    // Format by content: BMP, GIF, ICO, JPEG, JPEG 2000 (JP2, J2K), PCX, PNG, TGA, TIFF, WBMP, WMF.
    // A file over the import limits (see PictureLimits.h) is refused before it is decoded.
    void LoadFile(const std::string& path);
    // With a budget, the picture must also fit what is left of it, and takes its share.
    void DecodePng(std::span<const std::uint8_t> bytes, PixelBudget* budget = nullptr);

    // The smallest complete PNG file of a few tried forms that decodes to exactly these pixels (every
    // alpha taken as 255 when !HasAlpha()): palette, grey or true colour, with the least depth and
    // transparency they need, and the best of several row filters and zlib strategies. A fully
    // transparent pixel keeps its colour too.
    std::vector<std::uint8_t> EncodePng() const;

    // Bicubic resample to the new size, each pixel then mapped to the nearest palette colour when there
    // is a palette. Nothing happens when the size is unchanged or a side is 0 or below.
    void Resample(int newWidth, int newHeight);

    // A copy turned a quarter turn clockwise: the source's rows become the copy's columns, the
    // source's top row becoming the copy's rightmost column.
    Picture RotatedClockwise() const;

    // Equal when they show the same; the palette only steers resampling.
    friend bool operator==(const Picture& a, const Picture& b) {
        return a.width == b.width && a.height == b.height && a.hasAlpha == b.hasAlpha && a.pixels == b.pixels;
    }

private:
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint8_t> pixels;
    std::vector<Rgba> palette;
};
