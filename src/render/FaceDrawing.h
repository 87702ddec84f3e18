#pragma once

#include "Argb.h"
#include "Rect.h"
#include "Surface.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Picture;
class TGlyph;
class TLayout;
class TUserFace;

// Drawing of faces as the panel draws them, pixel for pixel. Colours in the model are COLORREF
// values; these functions take Argb (see ArgbFromColorref).

using GlyphList = std::vector<std::unique_ptr<TGlyph>>;

// Paints the face (background, picture, frame or colour, then its caption) into the rectangle.
void DrawFace(Surface& surface, const TUserFace& face, const TLayout& layout, const Rect& rect);

// Mode 2 left to right, 3 top to bottom, 4 diagonally from the top-left corner; any other mode
// draws nothing. The ramp is quadratic and stops just short of colorB.
void DrawGradient(Surface& surface, int mode, Argb colorA, Argb colorB, const Rect& rect);

// The nine-piece frame cut from a 31 x 31 face image: 15 x 15 corners, column and row 15
// stretched, the centre pixel's colour as the fill.
void DrawButtonFrame(Surface& surface, std::int32_t imageId, const TLayout& layout, int left, int top, int width,
                     int height);

// The width x height block of the picture whose top-left pixel is (srcX, srcY), drawn at (x, y)
// and blended by the picture's alpha; only the part of the block inside the picture is drawn.
void DrawImagePart(Surface& surface, const Picture& picture, int x, int y, int width, int height, int srcX, int srcY);

// Text centred on the point from the glyphs of one size code, each pixel mixed from the colour and
// the pixel under it by the glyph's coverage level. Characters without a glyph are skipped.
void DrawGlyphText(Surface& surface, const GlyphList& glyphs, const std::u16string& text, int centerX, int centerY,
                   Argb color, int sizeCode);
int GlyphTextWidth(const GlyphList& glyphs, const std::u16string& text, int sizeCode);
int GlyphTextHeight(const GlyphList& glyphs, const std::u16string& text, int sizeCode);

// The first glyph in list order for the size code and character, or null.
const TGlyph* FindGlyph(const GlyphList& glyphs, int sizeCode, char16_t code);
// The picture of the first image entry with that ID; null when there is none or it has no pixels.
const Picture* FindPicture(const TLayout& layout, std::int32_t imageId);
