#pragma once

#include "TGlyph.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

// Renders single UTF-16 code units into the panel's 2-bit glyphs: the character is drawn
// black on white into a small ARGB surface, then a cellHeight-square window of that surface
// is reduced to four grey levels and cropped to its ink.
// Not thread-safe; use one rasteriser per thread.
class TGlyphRasterizer {
public:
    static constexpr int kSurfaceSize = 100;
    // Where the text box of the drawn character begins on the surface.
    static constexpr int kOriginX = 5;
    static constexpr int kOriginY = 5;
    // The pen starts this far into the text box. The window below never sees column kOriginX,
    // so a glyph whose ink starts at its origin would otherwise lose its first column.
    static constexpr int kLeftPadding = 1;
    // Surface position of the window's pixel (0, 0).
    static constexpr int kWindowX = 6;
    static constexpr int kWindowY = 5;
    static constexpr std::uint32_t kWhite = 0xFFFFFFFF;
    static constexpr std::uint32_t kBlack = 0xFF000000;

    // emSize: text size in pixels; cellHeight: 1..99 (22, 28 and 35 in practice).
    // Throws std::invalid_argument outside those ranges.
    TGlyphRasterizer(int emSize, int cellHeight);
    ~TGlyphRasterizer();
    TGlyphRasterizer(const TGlyphRasterizer&) = delete;
    TGlyphRasterizer& operator=(const TGlyphRasterizer&) = delete;

    // Never null; a code unit without ink (a space, a lone surrogate, a character no
    // installed font has) gives the empty glyph.
    std::unique_ptr<TGlyph> Render(char16_t c);

    // Reduces whatever the surface holds now to a glyph for code c; Render's second half.
    std::unique_ptr<TGlyph> Sample(char16_t c);

    // The drawing surface, row-major, kSurfaceSize pixels a row, 0xAARRGGBB.
    std::span<std::uint32_t> Surface() { return surface; }
    // The level the last Sample gave window pixel (x, y); 0 outside the window.
    int LevelAt(int x, int y) const;

    int EmSize() const { return emSize; }
    int CellHeight() const { return cellHeight; }

    // 3 for dark ink down to 0 for untouched white, from a pixel's red channel.
    static int LevelOfRed(int red);

private:
    class FontSet;

    void DrawCharacter(char16_t c);
    int RedAt(int x, int y) const;

    int cellHeight;
    int emSize;
    std::array<std::uint32_t, kSurfaceSize * kSurfaceSize> surface{};
    std::unique_ptr<FontSet> font;
    std::array<bool, kSurfaceSize> inkedColumns{};
    std::array<bool, kSurfaceSize> inkedRows{};
    std::array<std::uint8_t, kSurfaceSize * kSurfaceSize> levels{};
};
