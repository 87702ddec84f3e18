#include "RenderFixtures.h"

#include "layout/Guid.h"
#include "layout/TImageLibrary.h"

#include <cstdio>
#include <cstring>

std::unique_ptr<Picture> CodedPicture(int width, int height, std::uint8_t blue, bool alpha) {
    auto picture = std::make_unique<Picture>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->SetPixel(x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), blue, 255});
    picture->SetHasAlpha(alpha);
    return picture;
}

std::int32_t AddPicture(TLayout& layout, std::unique_ptr<Picture> picture) {
    auto entry = std::make_unique<TImageEntry>();
    entry->id = layout.NextImageId();
    entry->SetImage(std::move(picture));
    entry->guid = NewGuid();
    const std::int32_t id = entry->id;
    layout.images.insert(layout.images.begin(), std::move(entry));
    return id;
}

std::unique_ptr<TGlyph> MakeGlyph(int sizeKey, char16_t code, int left, int top, int advance,
                                  std::initializer_list<const char*> rows) {
    auto glyph = std::make_unique<TGlyph>();
    glyph->sizeKey = sizeKey;
    glyph->code = code;
    glyph->height = static_cast<std::uint8_t>(rows.size());
    glyph->width = static_cast<std::uint8_t>(rows.size() == 0 ? 0 : std::strlen(*rows.begin()));
    glyph->left = static_cast<std::int8_t>(left);
    glyph->top = static_cast<std::int8_t>(top);
    glyph->advance = static_cast<std::uint8_t>(advance);
    glyph->bits.assign(static_cast<std::size_t>(glyph->RowBytes() * glyph->height), 0);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x] != '\0'; ++x)
            glyph->SetLevel(x, y, row[x] - '0');
        ++y;
    }
    return glyph;
}

void UseGlyphs(TLayout& layout, std::vector<std::unique_ptr<TGlyph>> glyphs) {
    auto library = std::make_shared<TImageLibrary>();
    library->glyphs = std::move(glyphs);
    layout.builtinLibrary = std::move(library);
}

std::vector<std::pair<int, int>> ChangedPixels(const Surface& before, const Surface& after) {
    std::vector<std::pair<int, int>> changed;
    for (int y = 0; y < after.Height(); ++y)
        for (int x = 0; x < after.Width(); ++x)
            if (before.Pixel(x, y) != after.Pixel(x, y))
                changed.emplace_back(x, y);
    return changed;
}

int CountColor(const Surface& surface, Argb color, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            count += surface.Pixel(x, y) == color ? 1 : 0;
    return count;
}

std::string Hex(Argb color) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(color));
    return text;
}
