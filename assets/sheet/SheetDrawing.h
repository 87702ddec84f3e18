#pragma once

#include "layout/TImageLibrary.h"
#include "picture/Picture.h"

#include <string>

// Drawing onto a picture by the panel renderer's rules for built-in art: frames, sliders and
// glyph text come out here as they will on the page, so the sheet shows what users will see.

void FillRect(Picture& target, int x, int y, int width, int height, Rgba color);
// The width × height block of source whose top-left is (srcX, srcY), to (x, y), blended by alpha.
void DrawImagePart(Picture& target, const Picture& source, int x, int y, int width, int height, int srcX, int srcY);
void DrawPicture(Picture& target, const Picture& source, int x, int y);

// A 31 × 31 face as a nine-piece frame of any size, with its centre colour as the fill.
void DrawButtonFrame(Picture& target, const Picture& face, int left, int top, int width, int height);
// The slider composite assembled upright (width ≤ height) or lying, knob near the middle.
void DrawLevelSlider(Picture& target, const Picture& slider, int left, int top, int width, int height);

int GlyphTextWidth(const TImageLibrary& library, const std::u16string& text, int sizeCode);
int GlyphTextHeight(const TImageLibrary& library, const std::u16string& text, int sizeCode);
// Text centred on the point, each glyph blended by its levels (0 leaves the pixel, 3 paints it).
void DrawGlyphText(Picture& target, const TImageLibrary& library, const std::u16string& text, int centerX, int centerY,
                   Rgba color, int sizeCode);
// Text starting at x with its line top at y.
void DrawLabel(Picture& target, const TImageLibrary& library, const std::string& text, int x, int y, Rgba color,
               int sizeCode);

// Each pixel as a factor × factor block.
Picture Magnified(const Picture& source, int factor);
