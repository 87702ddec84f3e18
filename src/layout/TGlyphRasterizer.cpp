#include "TGlyphRasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

struct FontCandidate {
    std::string file;
    int index = 0;
    FcCharSet* charset = nullptr; // one reference, held for the life of the process
};

// Every installed font, best first for a regular "simsun", asked of fontconfig once per
// process: sorting the whole font list per character would cost more than the drawing.
class FontCandidates {
public:
    static const std::vector<FontCandidate>& Get() {
        static const FontCandidates instance;
        return instance.list;
    }

    FontCandidates(const FontCandidates&) = delete;
    FontCandidates& operator=(const FontCandidates&) = delete;

private:
    FontCandidates() {
        // A configuration of our own, released at exit: the shared default one is never freed,
        // which leak checkers report against every program that renders a glyph.
        config = FcInitLoadConfigAndFonts();
        FcPattern* pattern = config ? FcPatternCreate() : nullptr;
        if (!pattern)
            return;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("simsun"));
        FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        // Trimmed: a font that adds no characters to those before it would never be chosen.
        FcFontSet* sorted = FcFontSort(config, pattern, FcTrue, nullptr, &result);
        FcPatternDestroy(pattern);
        if (!sorted)
            return;
        for (int i = 0; i < sorted->nfont; ++i) {
            FcChar8* file = nullptr;
            int index = 0;
            FcCharSet* charset = nullptr;
            if (FcPatternGetString(sorted->fonts[i], FC_FILE, 0, &file) != FcResultMatch ||
                FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch)
                continue;
            if (FcPatternGetInteger(sorted->fonts[i], FC_INDEX, 0, &index) != FcResultMatch)
                index = 0;
            list.push_back({reinterpret_cast<const char*>(file), index, FcCharSetCopy(charset)});
        }
        FcFontSetDestroy(sorted);
    }

    ~FontCandidates() {
        for (const auto& candidate : list)
            FcCharSetDestroy(candidate.charset);
        if (config)
            FcConfigDestroy(config);
    }

    FcConfig* config = nullptr;
    std::vector<FontCandidate> list;
};

} // namespace

// The faces one rasteriser has opened, all at its text size. Each rasteriser has its own
// FreeType library, so rasterisers on different threads share nothing but the candidate list.
class TGlyphRasterizer::FontSet {
public:
    explicit FontSet(int emSize) : emSize(emSize) {
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
    }

    ~FontSet() {
        for (auto& [key, face] : faces)
            if (face)
                FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }

    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // The first candidate that has c and opens; null when none does.
    FT_Face FaceFor(char32_t c) {
        if (!library)
            return nullptr;
        for (const auto& candidate : FontCandidates::Get()) {
            if (!FcCharSetHasChar(candidate.charset, c))
                continue;
            if (FT_Face face = Open(candidate); face && FT_Get_Char_Index(face, c) != 0)
                return face;
        }
        return nullptr;
    }

private:
    FT_Face Open(const FontCandidate& candidate) {
        const auto key = std::make_pair(candidate.file, candidate.index);
        if (const auto found = faces.find(key); found != faces.end())
            return found->second;
        FT_Face face = nullptr;
        if (FT_New_Face(library, candidate.file.c_str(), candidate.index, &face) != 0) {
            face = nullptr;
        } else if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(emSize)) != 0) {
            // A bitmap-only font without this size: remembered as unusable.
            FT_Done_Face(face);
            face = nullptr;
        }
        faces.emplace(key, face);
        return face;
    }

    int emSize;
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces; // null: failed to open
};

TGlyphRasterizer::TGlyphRasterizer(int emSize, int cellHeight) : cellHeight(cellHeight), emSize(emSize) {
    // 99 at most, so that even the empty glyph's top (1.28 cells) fits its signed byte.
    if (cellHeight < 1 || cellHeight >= kSurfaceSize)
        throw std::invalid_argument("cell height out of range");
    if (emSize < 1 || emSize > kSurfaceSize)
        throw std::invalid_argument("text size out of range");
    font = std::make_unique<FontSet>(emSize);
}

TGlyphRasterizer::~TGlyphRasterizer() = default;

std::unique_ptr<TGlyph> TGlyphRasterizer::Render(char16_t c) {
    surface.fill(kWhite);
    DrawCharacter(c);
    return Sample(c);
}

void TGlyphRasterizer::DrawCharacter(char16_t c) {
    // Half of a surrogate pair is no character in any font.
    if (c >= 0xD800 && c <= 0xDFFF)
        return;
    FT_Face face = font->FaceFor(c);
    if (!face)
        return;
    // Unhinted outlines, never embedded bitmaps: those are one-bit and would lose the grey levels.
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
        return;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        return;

    const int ascender = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
    const int baseline = kOriginY + ascender;
    const int x0 = kOriginX + kLeftPadding + slot->bitmap_left;
    const int y0 = baseline - slot->bitmap_top;
    const int rows = static_cast<int>(bitmap.rows);
    const int columns = static_cast<int>(bitmap.width);
    if (rows == 0 || columns == 0 || !bitmap.buffer)
        return;
    // A negative pitch means the top row is stored last.
    const unsigned char* top = bitmap.buffer;
    if (bitmap.pitch < 0)
        top -= static_cast<std::ptrdiff_t>(bitmap.pitch) * (rows - 1);
    const int grays = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY ? std::max<int>(bitmap.num_grays, 2) : 2;

    for (int row = 0; row < rows; ++row) {
        const int y = y0 + row;
        if (y < 0 || y >= kSurfaceSize)
            continue;
        const unsigned char* line = top + static_cast<std::ptrdiff_t>(bitmap.pitch) * row;
        for (int column = 0; column < columns; ++column) {
            const int x = x0 + column;
            if (x < 0 || x >= kSurfaceSize)
                continue;
            int coverage = 0;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                coverage = (line[column] * 255 + (grays - 1) / 2) / (grays - 1);
            else
                coverage = (line[column / 8] >> (7 - column % 8)) & 1 ? 255 : 0;
            if (coverage == 0)
                continue;
            // Black over what is there, by coverage; on white this is 255 - coverage.
            auto& pixel = surface[static_cast<std::size_t>(y * kSurfaceSize + x)];
            const int red = static_cast<int>((pixel >> 16) & 0xFF);
            const auto value = static_cast<std::uint32_t>((red * (255 - coverage) + 127) / 255);
            pixel = kBlack | value << 16 | value << 8 | value;
        }
    }
}

int TGlyphRasterizer::LevelOfRed(int red) {
    if (red < 100)
        return 3;
    if (red < 150)
        return 2;
    if (red < 255)
        return 1;
    return 0;
}

int TGlyphRasterizer::RedAt(int x, int y) const {
    // Off the surface reads as ink, like an unreadable pixel.
    if (x < 0 || y < 0 || x >= kSurfaceSize || y >= kSurfaceSize)
        return 0;
    return static_cast<int>((surface[static_cast<std::size_t>(y * kSurfaceSize + x)] >> 16) & 0xFF);
}

int TGlyphRasterizer::LevelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= cellHeight || y >= cellHeight)
        return 0;
    return levels[static_cast<std::size_t>(y * kSurfaceSize + x)];
}

std::unique_ptr<TGlyph> TGlyphRasterizer::Sample(char16_t c) {
    const int n = cellHeight;
    std::fill_n(inkedColumns.begin(), n, false);
    std::fill_n(inkedRows.begin(), n, false);
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < n; ++y) {
            const int level = LevelOfRed(RedAt(x + kWindowX, y + kWindowY));
            levels[static_cast<std::size_t>(y * kSurfaceSize + x)] = static_cast<std::uint8_t>(level);
            if (level != 0) {
                inkedColumns[static_cast<std::size_t>(x)] = true;
                inkedRows[static_cast<std::size_t>(y)] = true;
            }
        }
    }

    // [first, end) of the inked columns and rows; an empty range sits at n.
    int firstColumn = 0;
    while (firstColumn < n && !inkedColumns[static_cast<std::size_t>(firstColumn)])
        ++firstColumn;
    int endColumn = n;
    while (endColumn > firstColumn && !inkedColumns[static_cast<std::size_t>(endColumn - 1)])
        --endColumn;
    int firstRow = 0;
    while (firstRow < n && !inkedRows[static_cast<std::size_t>(firstRow)])
        ++firstRow;
    int endRow = n;
    while (endRow > firstRow && !inkedRows[static_cast<std::size_t>(endRow - 1)])
        --endRow;

    auto glyph = std::make_unique<TGlyph>();
    glyph->sizeKey = n;
    glyph->code = c;
    glyph->width = static_cast<std::uint8_t>(endColumn - firstColumn);
    glyph->height = static_cast<std::uint8_t>(endRow - firstRow);
    glyph->left = static_cast<std::int8_t>(firstColumn);
    // 0.28 of the cell plus the first inked row, truncated; in hundredths to stay exact.
    glyph->top = static_cast<std::int8_t>((28 * n + 100 * firstRow) / 100);
    glyph->advance = static_cast<std::uint8_t>(firstColumn + glyph->width + 1);

    const int rowBytes = TGlyph::RowBytes(glyph->width);
    glyph->bits.assign(static_cast<std::size_t>(rowBytes * glyph->height), 0);
    for (int m = 0; m < glyph->height; ++m) {
        for (int u = 0; u < glyph->width; ++u) {
            const int level = levels[static_cast<std::size_t>((firstRow + m) * kSurfaceSize + firstColumn + u)];
            glyph->bits[static_cast<std::size_t>(m * rowBytes + u / 4)] |=
                static_cast<std::uint8_t>(level << (2 * (3 - u % 4)));
        }
    }
    return glyph;
}
