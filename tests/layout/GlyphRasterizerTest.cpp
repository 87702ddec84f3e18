#include "layout/TGlyphRasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kSize = TGlyphRasterizer::kSurfaceSize;

struct Ink {
    int x;
    int y;
    int red = 0;
};

std::uint32_t Grey(int red) {
    const auto v = static_cast<std::uint32_t>(red);
    return 0xFF000000u | v << 16 | v << 8 | v;
}

// A white surface with the given pixels set, then sampled.
std::unique_ptr<TGlyph> SampleInk(TGlyphRasterizer& rasterizer, const std::vector<Ink>& ink, char16_t code = u'A') {
    auto surface = rasterizer.Surface();
    std::fill(surface.begin(), surface.end(), TGlyphRasterizer::kWhite);
    for (const auto& dot : ink)
        surface[static_cast<std::size_t>(dot.y * kSize + dot.x)] = Grey(dot.red);
    return rasterizer.Sample(code);
}

void ExpectEmpty(const TGlyph& glyph, int n) {
    EXPECT_EQ(glyph.sizeKey, n);
    EXPECT_EQ(glyph.width, 0);
    EXPECT_EQ(glyph.height, 0);
    EXPECT_EQ(glyph.left, n);
    EXPECT_EQ(glyph.advance, n + 1);
    EXPECT_TRUE(glyph.bits.empty());
}

TEST(GlyphRasterizer, RedChannelGivesTheLevel) {
    struct Case {
        std::uint32_t pixel;
        int level;
    };
    std::vector<Case> cases;
    for (const auto& [red, level] : {std::pair{0, 3}, {99, 3}, {100, 2}, {149, 2}, {150, 1}, {254, 1}, {255, 0}})
        cases.push_back({Grey(red), level});
    cases.push_back({0xFF00FFFF, 3}); // only red counts: cyan is full ink
    cases.push_back({0x00FFFFFF, 0}); // alpha is ignored
    cases.push_back({0xFFFF0000, 0}); // red at 255 is background even with green and blue at 0
    TGlyphRasterizer rasterizer(12, 22);
    for (const auto& c : cases) {
        auto surface = rasterizer.Surface();
        std::fill(surface.begin(), surface.end(), TGlyphRasterizer::kWhite);
        surface[5 * kSize + 6] = c.pixel;
        const auto glyph = rasterizer.Sample(u'A');
        EXPECT_EQ(rasterizer.LevelAt(0, 0), c.level) << std::hex << c.pixel;
        EXPECT_EQ(glyph->width, c.level ? 1 : 0) << std::hex << c.pixel;
    }
}

TEST(GlyphRasterizer, CropsTheWindowToItsInk) {
    struct Case {
        const char* what;
        int n;
        std::vector<Ink> ink;
        int left, width, top, height;
    };
    const Case cases[] = {
        {"window origin", 22, {{6, 5}}, 0, 1, 6, 1},
        {"last window pixel", 22, {{27, 26}}, 21, 1, 27, 1},
        {"gap between columns", 22, {{8, 8}, {12, 8}}, 2, 5, 9, 1},
        {"gap between rows", 22, {{8, 8}, {8, 12}}, 2, 1, 9, 5},
        {"box", 28, {{9, 9}, {20, 14}, {14, 30}}, 3, 12, 11, 22},
        {"top truncates 7.84", 28, {{10, 5}}, 4, 1, 7, 1},
        {"top truncates 9.8 + 2", 35, {{10, 7}}, 4, 1, 11, 1},
        {"top of a whole 0.28 N", 25, {{10, 5}}, 4, 1, 7, 1},
        {"faint ink counts", 22, {{7, 6, 254}, {9, 6, 254}}, 1, 3, 7, 1},
    };
    for (const auto& c : cases) {
        TGlyphRasterizer rasterizer(16, c.n);
        const auto glyph = SampleInk(rasterizer, c.ink, u'\u4E2D');
        EXPECT_EQ(glyph->sizeKey, c.n) << c.what;
        EXPECT_EQ(glyph->code, 0x4E2D) << c.what;
        EXPECT_EQ(glyph->left, c.left) << c.what;
        EXPECT_EQ(glyph->width, c.width) << c.what;
        EXPECT_EQ(glyph->top, c.top) << c.what;
        EXPECT_EQ(glyph->height, c.height) << c.what;
        EXPECT_EQ(glyph->advance, c.left + c.width + 1) << c.what;
        EXPECT_EQ(glyph->bits.size(), static_cast<std::size_t>((c.width + 3) / 4 * c.height)) << c.what;
    }
}

TEST(GlyphRasterizer, InkOutsideTheWindowGivesTheEmptyGlyph) {
    struct Case {
        const char* what;
        int n;
        std::vector<Ink> ink;
    };
    const Case cases[] = {
        {"white", 22, {}},
        {"white", 28, {}},
        {"white", 35, {}},
        {"box column 5 is never seen", 22, {{5, 5}, {5, 20}}},
        {"rows above the window", 22, {{10, 4}, {10, 0}}},
        {"right of the window", 22, {{28, 10}}},
        {"below the window", 22, {{10, 27}}},
    };
    for (const auto& c : cases) {
        TGlyphRasterizer rasterizer(16, c.n);
        SCOPED_TRACE(c.what);
        const auto glyph = SampleInk(rasterizer, c.ink);
        ExpectEmpty(*glyph, c.n);
    }
}

TEST(GlyphRasterizer, PacksFourLevelsABytePerRow) {
    TGlyphRasterizer rasterizer(12, 22);
    // Two rows of five: levels 3 2 1 3 2 and 1 0 0 0 3.
    const auto glyph = SampleInk(
        rasterizer, {{10, 7, 0}, {11, 7, 120}, {12, 7, 200}, {13, 7, 50}, {14, 7, 100}, {10, 8, 150}, {14, 8, 99}});
    ASSERT_EQ(glyph->width, 5);
    ASSERT_EQ(glyph->height, 2);
    EXPECT_EQ(glyph->left, 4);
    EXPECT_EQ(glyph->top, 8);
    const std::vector<std::uint8_t> expected = {0xE7, 0x80, 0x40, 0xC0};
    EXPECT_EQ(glyph->bits, expected);
}

TEST(GlyphRasterizer, SamplingForgetsThePreviousCharacter) {
    TGlyphRasterizer rasterizer(12, 22);
    SampleInk(rasterizer, {{6, 5}, {27, 26}});
    const auto glyph = SampleInk(rasterizer, {{15, 15}});
    EXPECT_EQ(glyph->left, 9);
    EXPECT_EQ(glyph->width, 1);
    EXPECT_EQ(glyph->height, 1);
    EXPECT_EQ(rasterizer.LevelAt(0, 0), 0);
    ExpectEmpty(*SampleInk(rasterizer, {}), 22);
}

TEST(GlyphRasterizer, PixelsOffTheSurfaceReadAsInk) {
    // A 99-cell window reaches past the surface's right and bottom edges.
    TGlyphRasterizer rasterizer(16, 99);
    const auto glyph = SampleInk(rasterizer, {});
    EXPECT_EQ(rasterizer.LevelAt(93, 94), 0);
    EXPECT_EQ(rasterizer.LevelAt(94, 0), 3);
    EXPECT_EQ(rasterizer.LevelAt(0, 95), 3);
    EXPECT_EQ(glyph->left, 0);
    EXPECT_EQ(glyph->width, 99);
    EXPECT_EQ(glyph->height, 99);
    EXPECT_EQ(glyph->top, 27);
    EXPECT_EQ(glyph->Level(0, 0), 0);
    EXPECT_EQ(glyph->Level(98, 98), 3);
}

struct Size {
    int em;
    int cell;
};
constexpr Size kSizes[] = {{12, 22}, {16, 28}, {20, 35}};

// The glyph's bitmap agrees with the level grid it was cut from, and its box is consistent.
void ExpectConsistent(const TGlyphRasterizer& rasterizer, const TGlyph& glyph) {
    const int n = rasterizer.CellHeight();
    EXPECT_EQ(glyph.sizeKey, n);
    EXPECT_LE(glyph.left + glyph.width, n);
    EXPECT_LE(glyph.height, n);
    EXPECT_EQ(glyph.advance, glyph.left + glyph.width + 1);
    ASSERT_EQ(glyph.bits.size(), static_cast<std::size_t>(glyph.RowBytes() * glyph.height));
    const int firstRow = glyph.top - 28 * n / 100;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const bool inside =
                x >= glyph.left && x < glyph.left + glyph.width && y >= firstRow && y < firstRow + glyph.height;
            const int expected = inside ? glyph.Level(x - glyph.left, y - firstRow) : 0;
            ASSERT_EQ(rasterizer.LevelAt(x, y), expected) << x << "," << y;
        }
    }
}

TEST(GlyphRasterizer, RendersCjkInEverySize) {
    int lastWidth = 0;
    int lastHeight = 0;
    for (const auto& size : kSizes) {
        SCOPED_TRACE(size.cell);
        TGlyphRasterizer rasterizer(size.em, size.cell);
        const auto glyph = rasterizer.Render(u'\u4E2D');
        EXPECT_EQ(glyph->code, 0x4E2D);
        ExpectConsistent(rasterizer, *glyph);
        EXPECT_GT(glyph->width, lastWidth);
        EXPECT_GT(glyph->height, lastHeight);
        // Neither clipped at the window's edges nor much smaller than the text size.
        const int firstRow = glyph->top - 28 * size.cell / 100;
        EXPECT_GT(firstRow, 0);
        EXPECT_LT(firstRow + glyph->height, size.cell);
        EXPECT_LT(glyph->left + glyph->width, size.cell);
        EXPECT_GE(glyph->height, size.em * 3 / 4);
        lastWidth = glyph->width;
        lastHeight = glyph->height;

        // Anti-aliased: partial levels occur. Unhinted thin strokes at 12 px reach only level 2.
        int darkest = 0;
        bool partial = false;
        for (int y = 0; y < glyph->height; ++y) {
            for (int x = 0; x < glyph->width; ++x) {
                darkest = std::max(darkest, glyph->Level(x, y));
                partial |= glyph->Level(x, y) == 1 || glyph->Level(x, y) == 2;
            }
        }
        EXPECT_GE(darkest, size.em >= 16 ? 3 : 2);
        EXPECT_TRUE(partial);
    }
}

TEST(GlyphRasterizer, DrawsLatinGreyOnTheBaseline) {
    TGlyphRasterizer rasterizer(16, 28);
    const auto bottom = [&](char16_t c) {
        const auto glyph = rasterizer.Render(c);
        return glyph->top + glyph->height;
    };
    // 'x' and 'X' stand on the baseline; 'p' goes below it.
    const int x = bottom(u'x');
    EXPECT_EQ(bottom(u'X'), x);
    EXPECT_GT(bottom(u'p'), x + 2);
    const int plainHeight = rasterizer.Render(u'e')->height;
    EXPECT_GT(rasterizer.Render(u'\u00E9')->height, plainHeight + 2);

    // Black over white leaves opaque greys only.
    for (const std::uint32_t pixel : rasterizer.Surface())
        ASSERT_EQ(pixel, Grey(static_cast<int>(pixel >> 16 & 0xFF))) << std::hex << pixel;

    // A control character goes through the fonts like any other.
    const auto control = rasterizer.Render(u'\x7F');
    EXPECT_EQ(control->code, 0x7F);
    ExpectConsistent(rasterizer, *control);
}

TEST(GlyphRasterizer, CharactersWithoutInkGiveTheEmptyGlyph) {
    const char16_t codes[] = {u'\u3000', u' ', u'\xD800', u'\xDBFF', u'\xDC00', u'\xDFFF', u'\uFFFF'};
    for (const auto& size : kSizes) {
        TGlyphRasterizer rasterizer(size.em, size.cell);
        for (const char16_t code : codes) {
            SCOPED_TRACE(static_cast<int>(code));
            // Ink left from an earlier character must not show through.
            rasterizer.Render(u'\u4E2D');
            const auto glyph = rasterizer.Render(code);
            EXPECT_EQ(glyph->code, code);
            ExpectEmpty(*glyph, size.cell);
        }
    }
}

// How fast this goes is measured in bench/bench_layout.
TEST(GlyphRasterizer, EveryCjkCharacterGetsInkInEverySize) {
    int inked = 0;
    for (const auto& size : kSizes) {
        TGlyphRasterizer rasterizer(size.em, size.cell);
        for (int i = 0; i < 40; ++i)
            inked += rasterizer.Render(static_cast<char16_t>(0x4E00 + 97 * i))->width > 0;
    }
    EXPECT_EQ(inked, 120);
}

} // namespace
