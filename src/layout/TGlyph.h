#pragma once

#include <cstdint>
#include <vector>

class CDataStore;

// One character at one size as a 2-bit anti-aliased bitmap: `height` rows of (width + 3) / 4
// bytes, four pixels a byte, the leftmost in the top two bits; level 0 is background, 3 full ink.
class TGlyph {
public:
    static constexpr std::int32_t kVersion = 1;

    static int RowBytes(int width) { return (width + 3) / 4; }
    int RowBytes() const { return RowBytes(width); }
    // The level (0..3) of the pixel at column x, row y; 0 outside the bitmap.
    int Level(int x, int y) const;
    void SetLevel(int x, int y, int level);

    void Serialize(CDataStore& ar);

    // The cell height (22, 28, 35) for glyphs we render; the text size (1..4) for built-in ones.
    std::int32_t sizeKey = 0;
    std::int32_t code = 0; // a UTF-16 code unit
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    std::int8_t left = 0;
    std::int8_t top = 0; // may be -1 for characters that reach above the line
    std::uint8_t advance = 0;
    std::vector<std::uint8_t> bits;
};
