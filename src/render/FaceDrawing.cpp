#include "FaceDrawing.h"

#include "DrawingDetail.h"
#include "layout/TGlyph.h"
#include "layout/TLayout.h"
#include "layout/TUserFace.h"
#include "picture/Picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The frame images are 31 x 31: 15-pixel corners around a stretchable middle row and column.
constexpr int kCorner = 15;
constexpr int kFarCorner = 16;
// The fill starts this far inside the left and top edges and ends this far inside the others.
constexpr int kFillInsetNear = 4;
constexpr int kFillInsetFar = 8;

void drawButtonFrame(Surface& surface, const Picture& picture, Coord left, Coord top, Coord width, Coord height) {
    const Rgba centre = picture.GetPixel(picture.Width() / 2, picture.Height() / 2);
    surface.FillRect(Rect::FromSize(left + kFillInsetNear, top + kFillInsetNear, width - kFillInsetNear - kFillInsetFar,
                                    height - kFillInsetNear - kFillInsetFar),
                     MakeArgb(centre.r, centre.g, centre.b));

    const IndexRange across = VisibleIndices(left + kCorner, width - 2 * kCorner, surface.Width());
    for (Coord i = across.first; i < across.end; ++i) {
        DrawPicturePart(surface, picture, left + kCorner + i, top, 1, kCorner, kCorner, 0);
        DrawPicturePart(surface, picture, left + kCorner + i, top + height - kCorner, 1, kCorner, kCorner, kFarCorner);
    }
    const IndexRange down = VisibleIndices(top + kCorner, height - 2 * kCorner, surface.Height());
    for (Coord i = down.first; i < down.end; ++i) {
        DrawPicturePart(surface, picture, left, top + kCorner + i, kCorner, 1, 0, kCorner);
        DrawPicturePart(surface, picture, left + width - kCorner, top + kCorner + i, kCorner, 1, kFarCorner, kCorner);
    }

    DrawPicturePart(surface, picture, left, top, kCorner, kCorner, 0, 0);
    DrawPicturePart(surface, picture, left + width - kCorner, top, kCorner, kCorner, kFarCorner, 0);
    DrawPicturePart(surface, picture, left, top + height - kCorner, kCorner, kCorner, 0, kFarCorner);
    DrawPicturePart(surface, picture, left + width - kCorner, top + height - kCorner, kCorner, kCorner, kFarCorner,
                    kFarCorner);
}

// The colour a gradient of length `length` gives at position p, ramping quadratically from a to b.
class GradientRamp {
public:
    GradientRamp(Argb a, Argb b, Coord length) : length(static_cast<double>(length)) {
        for (int i = 0; i < 3; ++i) {
            start[i] = component(a, i);
            step[i] = (component(b, i) - start[i]) / this->length;
        }
    }

    Argb At(Coord p) const {
        const double position = static_cast<double>(p);
        const double k = std::trunc(position * (position / length));
        int value[3];
        for (int i = 0; i < 3; ++i)
            value[i] = static_cast<int>(static_cast<long long>(k * step[i] + start[i]) & 0xFF);
        return MakeArgb(value[0], value[1], value[2]);
    }

private:
    static double component(Argb color, int i) {
        return i == 0 ? RedOf(color) : i == 1 ? GreenOf(color) : BlueOf(color);
    }

    double length;
    double start[3] = {};
    double step[3] = {};
};

// The glyph of each character of the text, null where there is none: one walk of the list each.
std::vector<const TGlyph*> glyphsOf(const GlyphList& glyphs, const std::u16string& text, int sizeCode) {
    std::vector<const TGlyph*> found;
    found.reserve(text.size());
    for (const char16_t ch : text)
        found.push_back(FindGlyph(glyphs, sizeCode, ch));
    return found;
}

Coord widthOf(const std::vector<const TGlyph*>& found) {
    Coord width = 0;
    for (const TGlyph* glyph : found) {
        if (glyph != nullptr)
            width += glyph->advance;
    }
    if (!found.empty() && found.front() != nullptr)
        width -= found.front()->left;
    return width;
}

int heightOf(const std::vector<const TGlyph*>& found) {
    int height = 0;
    for (const TGlyph* glyph : found) {
        if (glyph != nullptr)
            height = std::max<int>(height, glyph->height);
    }
    return height;
}

// Each pixel becomes (colour * level + old * (3 - level)) / 3 per channel, truncated.
void drawGlyph(Surface& surface, const TGlyph& glyph, Coord x, Coord y, Argb color) {
    if (x >= surface.Width() || y >= surface.Height() || x + glyph.width <= 0 || y + glyph.height <= 0)
        return;
    for (int r = 0; r < glyph.height; ++r) {
        for (int c = 0; c < glyph.width; ++c) {
            const int level = glyph.Level(c, r);
            if (level == 0)
                continue;
            const int tx = static_cast<int>(x + c);
            const int ty = static_cast<int>(y + r);
            const Argb old = surface.Pixel(tx, ty);
            const auto mix = [&](int text, int under) { return (text * level + under * (3 - level)) / 3; };
            surface.SetPixel(tx, ty,
                             MakeArgb(mix(RedOf(color), RedOf(old)), mix(GreenOf(color), GreenOf(old)),
                                      mix(BlueOf(color), BlueOf(old))));
        }
    }
}

} // namespace

const TGlyph* FindGlyph(const GlyphList& glyphs, int sizeCode, char16_t code) {
    for (const auto& glyph : glyphs) {
        if (glyph->sizeKey == sizeCode && glyph->code == static_cast<std::int32_t>(code))
            return glyph.get();
    }
    return nullptr;
}

const Picture* FindPicture(const TLayout& layout, std::int32_t imageId) {
    const TImageEntry* entry = layout.FindImage(imageId);
    if (entry == nullptr || entry->Image() == nullptr || entry->Image()->IsEmpty())
        return nullptr;
    return entry->Image();
}

void DrawFace(Surface& surface, const TUserFace& face, const TLayout& layout, const Rect& rect) {
    const Coord centerX = rect.left + rect.Width() / 2;
    const Coord centerY = rect.top + rect.Height() / 2;
    switch (face.kind) {
    case TUserFace::kBlank:
        break;
    case TUserFace::kButtonFace:
        if (const Picture* picture = FindPicture(layout, face.value))
            drawButtonFrame(surface, *picture, rect.left, rect.top, rect.Width(), rect.Height());
        break;
    case TUserFace::kImage:
        if (const Picture* picture = FindPicture(layout, face.value))
            surface.DrawPicture(*picture, ToCoordinate(centerX - picture->Width() / 2),
                                ToCoordinate(centerY - picture->Height() / 2), rect);
        break;
    case TUserFace::kColor:
        if (face.value == TUserFace::kSingleColor)
            surface.FillRect(rect, ArgbFromColorref(face.color1));
        else
            DrawGradient(surface, face.value, ArgbFromColorref(face.color1), ArgbFromColorref(face.color2), rect);
        break;
    default:
        return; // a kind we do not know draws nothing, caption included
    }
    if (layout.builtinLibrary)
        DrawGlyphText(surface, layout.builtinLibrary->glyphs, face.text, static_cast<int>(centerX),
                      static_cast<int>(centerY), ArgbFromColorref(face.textColor), face.textSize);
}

void DrawGradient(Surface& surface, int mode, Argb colorA, Argb colorB, const Rect& rect) {
    const Coord width = rect.Width();
    const Coord height = rect.Height();
    if (width <= 0 || height <= 0)
        return;
    Coord length = 0;
    switch (mode) {
    case TUserFace::kLeftToRight:
        length = width;
        break;
    case TUserFace::kTopToBottom:
        length = height;
        break;
    case TUserFace::kRadial:
        length = width + height;
        break;
    default:
        return;
    }
    const Rect visible = rect.Intersected(surface.Bounds());
    if (visible.IsEmpty())
        return;
    const GradientRamp ramp(colorA, colorB, length);

    // The colour depends on p alone, so each p on screen is worked out once.
    const Coord dx = visible.left - rect.left;
    const Coord dy = visible.top - rect.top;
    const Coord firstP = mode == TUserFace::kLeftToRight ? dx : mode == TUserFace::kTopToBottom ? dy : dx + dy;
    const Coord lastP = mode == TUserFace::kLeftToRight   ? dx + visible.Width() - 1
                        : mode == TUserFace::kTopToBottom ? dy + visible.Height() - 1
                                                          : dx + dy + visible.Width() - 1 + visible.Height() - 1;
    std::vector<Argb> colors(static_cast<std::size_t>(lastP - firstP + 1));
    for (Coord p = firstP; p <= lastP; ++p)
        colors[static_cast<std::size_t>(p - firstP)] = ramp.At(p);

    const std::size_t stride = static_cast<std::size_t>(surface.Stride()) / sizeof(Argb);
    for (int y = visible.top; y < visible.bottom; ++y) {
        Argb* row = surface.Data() + static_cast<std::size_t>(y) * stride;
        const Coord rowP = mode == TUserFace::kLeftToRight ? 0 : y - rect.top;
        for (int x = visible.left; x < visible.right; ++x) {
            const Coord p = mode == TUserFace::kTopToBottom ? rowP : rowP + (x - rect.left);
            row[x] = colors[static_cast<std::size_t>(p - firstP)];
        }
    }
}

void DrawButtonFrame(Surface& surface, std::int32_t imageId, const TLayout& layout, int left, int top, int width,
                     int height) {
    if (const Picture* picture = FindPicture(layout, imageId))
        drawButtonFrame(surface, *picture, left, top, width, height);
}

void DrawImagePart(Surface& surface, const Picture& picture, int x, int y, int width, int height, int srcX, int srcY) {
    DrawPicturePart(surface, picture, x, y, width, height, srcX, srcY);
}

int GlyphTextWidth(const GlyphList& glyphs, const std::u16string& text, int sizeCode) {
    return static_cast<int>(widthOf(glyphsOf(glyphs, text, sizeCode)));
}

int GlyphTextHeight(const GlyphList& glyphs, const std::u16string& text, int sizeCode) {
    return heightOf(glyphsOf(glyphs, text, sizeCode));
}

void DrawGlyphText(Surface& surface, const GlyphList& glyphs, const std::u16string& text, int centerX, int centerY,
                   Argb color, int sizeCode) {
    const std::vector<const TGlyph*> found = glyphsOf(glyphs, text, sizeCode);
    const Coord y0 = centerY - heightOf(found) / 2;
    Coord x = centerX - widthOf(found) / 2;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const TGlyph* glyph = found[i];
        if (glyph == nullptr)
            continue;
        // The first character stands at the pen without its left bearing; the text's width leaves it out too.
        const bool first = i == 0;
        const Coord offset = first ? 0 : glyph->left;
        drawGlyph(surface, *glyph, x + offset, y0 + glyph->top - sizeCode / 3, color);
        x += first ? glyph->advance - glyph->left : glyph->advance;
    }
}
