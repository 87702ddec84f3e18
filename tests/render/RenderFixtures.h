#pragma once

#include "layout/TGlyph.h"
#include "layout/TLayout.h"
#include "picture/Picture.h"
#include "render/Surface.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A colour no drawing here produces, to see which pixels a drawing touched.
constexpr Argb kSentinel = MakeArgb(1, 2, 3);

// A picture whose pixel (x, y) is red x, green y, blue `blue`: any drawn pixel names its source.
std::unique_ptr<Picture> CodedPicture(int width, int height, std::uint8_t blue = 200, bool alpha = false);
// The source pixel a coded picture drew, as the surface colour it gives when drawn opaque.
constexpr Argb CodedPixel(int x, int y, std::uint8_t blue = 200) {
    return MakeArgb(x, y, blue);
}

// Adds a user image holding the picture; returns its ID.
std::int32_t AddPicture(TLayout& layout, std::unique_ptr<Picture> picture);

// A glyph with the levels given row by row (one digit 0-3 per pixel).
std::unique_ptr<TGlyph> MakeGlyph(int sizeKey, char16_t code, int left, int top, int advance,
                                  std::initializer_list<const char*> rows);

// Replaces the layout's built-in glyphs with these, keeping its built-in images.
void UseGlyphs(TLayout& layout, std::vector<std::unique_ptr<TGlyph>> glyphs);

// The pixels that differ between two surfaces of the same size.
std::vector<std::pair<int, int>> ChangedPixels(const Surface& before, const Surface& after);
// How many pixels of the rectangle hold the colour.
int CountColor(const Surface& surface, Argb color, int left, int top, int right, int bottom);

std::string Hex(Argb color);
