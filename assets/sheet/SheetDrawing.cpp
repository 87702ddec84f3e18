#include "SheetDrawing.h"

#include <algorithm>

namespace {

std::uint8_t blendChannel(int source, int target, int alpha) {
    return static_cast<std::uint8_t>((source * alpha + target * (255 - alpha) + 127) / 255);
}

void drawGlyph(Picture& target, const TGlyph& glyph, int x, int y, Rgba color) {
    for (int r = 0; r < glyph.height; ++r) {
        for (int c = 0; c < glyph.width; ++c) {
            const int a = glyph.Level(c, r);
            if (a == 0)
                continue;
            const Rgba old = target.GetPixel(x + c, y + r);
            target.SetPixel(x + c, y + r,
                            {static_cast<std::uint8_t>((color.r * a + old.r * (3 - a)) / 3),
                             static_cast<std::uint8_t>((color.g * a + old.g * (3 - a)) / 3),
                             static_cast<std::uint8_t>((color.b * a + old.b * (3 - a)) / 3), old.a});
        }
    }
}

// Draws from x with the renderer's placement: the first glyph without its left offset.
void drawRun(Picture& target, const TImageLibrary& library, const std::u16string& text, int x, int y0, Rgba color,
             int sizeCode) {
    bool first = true;
    for (const char16_t ch : text) {
        const TGlyph* glyph = library.FindGlyph(sizeCode, ch);
        if (glyph == nullptr)
            continue;
        const int offset = first ? 0 : glyph->left;
        drawGlyph(target, *glyph, x + offset, y0 + glyph->top - sizeCode / 3, color);
        x += first ? glyph->advance - glyph->left : glyph->advance;
        first = false;
    }
}

} // namespace

void FillRect(Picture& target, int x, int y, int width, int height, Rgba color) {
    for (int row = std::max(y, 0); row < std::min(y + height, target.Height()); ++row)
        for (int column = std::max(x, 0); column < std::min(x + width, target.Width()); ++column)
            target.SetPixel(column, row, color);
}

void DrawImagePart(Picture& target, const Picture& source, int x, int y, int width, int height, int srcX, int srcY) {
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const int sx = srcX + c;
            const int sy = srcY + r;
            if (sx < 0 || sy < 0 || sx >= source.Width() || sy >= source.Height())
                continue;
            const Rgba s = source.GetPixel(sx, sy);
            const int alpha = source.HasAlpha() ? s.a : 255;
            if (alpha == 0)
                continue;
            const Rgba t = target.GetPixel(x + c, y + r);
            target.SetPixel(
                x + c, y + r,
                {blendChannel(s.r, t.r, alpha), blendChannel(s.g, t.g, alpha), blendChannel(s.b, t.b, alpha), t.a});
        }
    }
}

void DrawPicture(Picture& target, const Picture& source, int x, int y) {
    DrawImagePart(target, source, x, y, source.Width(), source.Height(), 0, 0);
}

void DrawButtonFrame(Picture& target, const Picture& face, int left, int top, int width, int height) {
    const Rgba fill = face.GetPixel(face.Width() / 2, face.Height() / 2);
    FillRect(target, left + 4, top + 4, width - 12, height - 12, {fill.r, fill.g, fill.b, 255});
    for (int i = 0; i < width - 30; ++i) {
        DrawImagePart(target, face, left + 15 + i, top, 1, 15, 15, 0);
        DrawImagePart(target, face, left + 15 + i, top + height - 15, 1, 15, 15, 16);
    }
    for (int i = 0; i < height - 30; ++i) {
        DrawImagePart(target, face, left, top + 15 + i, 15, 1, 0, 15);
        DrawImagePart(target, face, left + width - 15, top + 15 + i, 15, 1, 16, 15);
    }
    DrawImagePart(target, face, left, top, 15, 15, 0, 0);
    DrawImagePart(target, face, left + width - 15, top, 15, 15, 16, 0);
    DrawImagePart(target, face, left, top + height - 15, 15, 15, 0, 16);
    DrawImagePart(target, face, left + width - 15, top + height - 15, 15, 15, 16, 16);
}

void DrawLevelSlider(Picture& target, const Picture& slider, int left, int top, int width, int height) {
    if (width <= height) {
        const int x = left + (width - 45) / 2;
        const int knob = static_cast<int>((height - 52) * 0.5 + 8.0);
        for (int i = 0; i < height - 30; ++i)
            DrawImagePart(target, slider, x, top + 15 + i, 45, 1, 0, i < knob ? 15 : 60);
        DrawImagePart(target, slider, x, top, 45, 15, 0, 0);
        DrawImagePart(target, slider, x, top + height - 15, 45, 15, 0, 61);
        DrawImagePart(target, slider, x, top + knob - 3, 46, 46, 0, 16);
        return;
    }
    const Picture turned = slider.RotatedClockwise();
    const int y = top + (height - 45) / 2;
    const int knob = static_cast<int>((width - 52) * 0.5 + 10.0);
    for (int i = 0; i < width - 30; ++i)
        DrawImagePart(target, turned, left + 15 + i, y, 1, 45, i < knob ? 15 : 61, 0);
    DrawImagePart(target, turned, left + width - 15, y, 15, 45, 61, 0);
    DrawImagePart(target, turned, left, y, 15, 45, 0, 0);
    DrawImagePart(target, turned, left + knob - 3, y, 46, 46, 16, 0);
}

int GlyphTextWidth(const TImageLibrary& library, const std::u16string& text, int sizeCode) {
    int width = 0;
    for (const char16_t ch : text)
        if (const TGlyph* glyph = library.FindGlyph(sizeCode, ch))
            width += glyph->advance;
    if (!text.empty())
        if (const TGlyph* glyph = library.FindGlyph(sizeCode, text[0]))
            width -= glyph->left;
    return width;
}

int GlyphTextHeight(const TImageLibrary& library, const std::u16string& text, int sizeCode) {
    int height = 0;
    for (const char16_t ch : text)
        if (const TGlyph* glyph = library.FindGlyph(sizeCode, ch))
            height = std::max<int>(height, glyph->height);
    return height;
}

void DrawGlyphText(Picture& target, const TImageLibrary& library, const std::u16string& text, int centerX, int centerY,
                   Rgba color, int sizeCode) {
    const int y0 = centerY - GlyphTextHeight(library, text, sizeCode) / 2;
    const int x = centerX - GlyphTextWidth(library, text, sizeCode) / 2;
    drawRun(target, library, text, x, y0, color, sizeCode);
}

void DrawLabel(Picture& target, const TImageLibrary& library, const std::string& text, int x, int y, Rgba color,
               int sizeCode) {
    drawRun(target, library, std::u16string(text.begin(), text.end()), x, y, color, sizeCode);
}

Picture Magnified(const Picture& source, int factor) {
    Picture out(source.Width() * factor, source.Height() * factor);
    out.SetHasAlpha(source.HasAlpha());
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.SetPixel(x, y, source.GetPixel(x / factor, y / factor));
    return out;
}
