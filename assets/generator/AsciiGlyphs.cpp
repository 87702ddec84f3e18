#include "AsciiGlyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

// One character as FreeType drew it, trimmed to the pixels that carry a level above 0.
struct Inked {
    int code = 0;
    int advance = 0;
    int left = 0; // first inked column, from the pen
    int top = 0;  // first inked row, in pixels above the baseline
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> levels; // width × height
};

class FontFace {
public:
    FontFace(FT_Library library, const std::string& path, int pixels) {
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0)
            throw std::runtime_error("cannot load the font " + path);
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
            FT_Done_Face(face);
            throw std::runtime_error("cannot size the font " + path);
        }
    }
    ~FontFace() { FT_Done_Face(face); }
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    Inked Render(int code) const {
        Inked glyph;
        glyph.code = code;
        // Light hinting snaps stems and the baseline to whole pixels without distorting shapes.
        if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            throw std::runtime_error("cannot render character " + std::to_string(code));
        const FT_GlyphSlot slot = face->glyph;
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        const FT_Bitmap& bitmap = slot->bitmap;
        const int rows = static_cast<int>(bitmap.rows);
        const int columns = static_cast<int>(bitmap.width);
        auto level = [&](int x, int y) { return CoverageLevel(bitmap.buffer[y * bitmap.pitch + x]); };

        int firstX = columns, lastX = -1, firstY = rows, lastY = -1;
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < columns; ++x) {
                if (level(x, y) == 0)
                    continue;
                firstX = std::min(firstX, x);
                lastX = std::max(lastX, x);
                firstY = std::min(firstY, y);
                lastY = std::max(lastY, y);
            }
        }
        if (lastX < 0)
            return glyph;
        glyph.left = slot->bitmap_left + firstX;
        glyph.top = slot->bitmap_top - firstY;
        glyph.width = lastX - firstX + 1;
        glyph.height = lastY - firstY + 1;
        for (int y = firstY; y <= lastY; ++y)
            for (int x = firstX; x <= lastX; ++x)
                glyph.levels.push_back(static_cast<std::uint8_t>(level(x, y)));
        return glyph;
    }

private:
    FT_Face face = nullptr;
};

class FreeTypeLibrary {
public:
    FreeTypeLibrary() {
        if (FT_Init_FreeType(&library) != 0)
            throw std::runtime_error("cannot start FreeType");
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(library); }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
    FT_Library Get() const { return library; }

private:
    FT_Library library = nullptr;
};

// The text line's top: the top of the tallest letters and digits, raised only as far as needed
// that nothing else stands more than one row above it (such characters get top −1).
int lineTop(const std::vector<Inked>& set) {
    int letters = 0;
    int all = 0;
    for (const auto& g : set) {
        if (g.height == 0)
            continue;
        all = std::max(all, g.top);
        if (std::isalnum(g.code))
            letters = std::max(letters, g.top);
    }
    return std::max(letters, all - 1);
}

} // namespace

int CoverageLevel(int coverage) {
    if (coverage < 40)
        return 0;
    if (coverage < 110)
        return 1;
    if (coverage < 175)
        return 2;
    return 3;
}

const std::array<GlyphSize, 4>& GlyphSizes() {
    static const std::array<GlyphSize, 4> sizes{{
        {1, "Small", 12, "DejaVuSansCondensed-Bold.ttf"},
        {2, "Medium", 15, "DejaVuSansCondensed-Bold.ttf"},
        {3, "Large", 19, "DejaVuSansCondensed-Bold.ttf"},
        {4, "Tiny", 9, "DejaVuSansCondensed-Bold.ttf"},
    }};
    return sizes;
}

std::vector<std::unique_ptr<TGlyph>> RenderAsciiGlyphs(const std::string& fontDir) {
    FreeTypeLibrary library;
    std::vector<std::unique_ptr<TGlyph>> glyphs;
    for (const auto& size : GlyphSizes()) {
        const FontFace face(library.Get(), fontDir + "/" + size.fontFile, size.pixels);
        std::vector<Inked> set;
        for (int code = kFirstAsciiCode; code < kLastAsciiCode; ++code)
            set.push_back(face.Render(code));
        Inked rubout;
        rubout.code = kLastAsciiCode;
        rubout.advance = set.front().advance;
        set.push_back(rubout);
        const int line = lineTop(set);
        for (const auto& inked : set) {
            auto glyph = std::make_unique<TGlyph>();
            glyph->sizeKey = size.sizeKey;
            glyph->code = inked.code;
            glyph->advance = static_cast<std::uint8_t>(inked.advance);
            glyph->width = static_cast<std::uint8_t>(inked.width);
            glyph->height = static_cast<std::uint8_t>(inked.height);
            if (inked.height > 0) {
                glyph->left = static_cast<std::int8_t>(inked.left);
                glyph->top = static_cast<std::int8_t>(line - inked.top);
            }
            glyph->bits.assign(static_cast<std::size_t>(glyph->RowBytes() * glyph->height), 0);
            for (int y = 0; y < inked.height; ++y)
                for (int x = 0; x < inked.width; ++x)
                    glyph->SetLevel(x, y, inked.levels[static_cast<std::size_t>(y * inked.width + x)]);
            glyphs.push_back(std::move(glyph));
        }
    }
    return glyphs;
}
