#include "LibraryFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

constexpr int kSmall = 1;
constexpr int kMedium = 2;
constexpr int kLarge = 3;
constexpr int kTiny = 4;

const TGlyph& glyph(int sizeKey, int code) {
    const TGlyph* g = GeneratedLibrary::Get().library.FindGlyph(sizeKey, code);
    if (g == nullptr)
        throw std::runtime_error("no glyph " + std::to_string(code) + " at size " + std::to_string(sizeKey));
    return *g;
}

TEST(BuiltinLibrary, HoldsTheTwelveImagesInStoredOrderWithTheirSizesAndAlpha) {
    struct Expected {
        int id, width, height;
        bool alpha;
    };
    const Expected stored[] = {{1, 320, 240, false}, {2, 46, 76, true}, {3, 31, 31, true},  {16, 31, 31, true},
                               {4, 31, 31, true},    {5, 31, 31, true}, {6, 31, 31, true},  {7, 31, 31, false},
                               {8, 31, 31, false},   {9, 31, 31, true}, {10, 27, 27, true}, {11, 33, 25, true}};
    const auto& images = GeneratedLibrary::Get().library.images;
    ASSERT_EQ(images.size(), std::size(stored));
    for (std::size_t i = 0; i < images.size(); ++i) {
        // Reading puts each record at the front, so list order is the stored order backwards.
        const auto& entry = *images[images.size() - 1 - i];
        const Expected& want = stored[i];
        SCOPED_TRACE("image " + std::to_string(want.id));
        EXPECT_EQ(entry.id, want.id);
        EXPECT_EQ(entry.reserved1, 0);
        EXPECT_EQ(entry.reserved2, 0);
        ASSERT_NE(entry.image, nullptr) << "the stored PNG did not decode";
        EXPECT_EQ(entry.image->Width(), want.width);
        EXPECT_EQ(entry.image->Height(), want.height);
        EXPECT_EQ(entry.image->HasAlpha(), want.alpha);
    }
}

TEST(BuiltinLibrary, HoldsEightStylesAndTheSevenTexts) {
    const auto& library = GeneratedLibrary::Get().library;
    ASSERT_EQ(library.styles.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(library.styles[7 - i]->id, static_cast<int>(i) + 1);
        EXPECT_EQ(library.styles[7 - i]->kind, 1);
    }
    const std::u16string texts[] = {u"ON", u"OFF", u"Cancel", u"Clear", u"Enter", u"Dial", u"INVALID"};
    ASSERT_EQ(library.texts.size(), std::size(texts));
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(library.texts[6 - i]->id, static_cast<int>(i) + 1);
        EXPECT_EQ(library.texts[6 - i]->text, texts[i]);
    }
}

TEST(BuiltinLibrary, HasOneGlyphPerSizeAndCodeWithBitmapsOfTheDeclaredSize) {
    const auto& glyphs = GeneratedLibrary::Get().library.glyphs;
    ASSERT_EQ(glyphs.size(), 384u);
    std::set<std::pair<int, int>> seen;
    for (const auto& g : glyphs) {
        SCOPED_TRACE("size " + std::to_string(g->sizeKey) + " code " + std::to_string(g->code));
        EXPECT_TRUE(seen.insert({g->sizeKey, g->code}).second) << "duplicate glyph";
        EXPECT_GE(g->sizeKey, 1);
        EXPECT_LE(g->sizeKey, 4);
        EXPECT_GE(g->code, 0x20);
        EXPECT_LE(g->code, 0x7F);
        EXPECT_EQ(g->bits.size(), static_cast<std::size_t>((g->width + 3) / 4 * g->height));
        EXPECT_GT(g->advance, 0);
        EXPECT_GE(g->top, -1);
    }
}

// The box must be the inked box: a blank outer row or column would throw captions off centre.
TEST(BuiltinLibrary, EveryVisibleCharacterHasInkOnAllFourSidesOfItsBox) {
    for (const int size : {kSmall, kMedium, kLarge, kTiny}) {
        for (int code = 0x21; code <= 0x7E; ++code) {
            const TGlyph& g = glyph(size, code);
            SCOPED_TRACE("size " + std::to_string(size) + " '" + static_cast<char>(code) + "'");
            ASSERT_GT(g.width, 0);
            ASSERT_GT(g.height, 0);
            bool top = false, bottom = false, left = false, right = false;
            for (int x = 0; x < g.width; ++x) {
                top |= g.Level(x, 0) > 0;
                bottom |= g.Level(x, g.height - 1) > 0;
            }
            for (int y = 0; y < g.height; ++y) {
                left |= g.Level(0, y) > 0;
                right |= g.Level(g.width - 1, y) > 0;
            }
            EXPECT_TRUE(top && bottom && left && right);
            // Padding bits past the last column stay clear.
            for (int y = 0; y < g.height; ++y)
                for (int x = g.width; x < g.RowBytes() * 4; ++x)
                    EXPECT_EQ((g.bits[y * g.RowBytes() + x / 4] >> (2 * (3 - x % 4))) & 3, 0);
        }
    }
}

TEST(BuiltinLibrary, SpaceAndRuboutAreBlankButMoveThePen) {
    for (const int size : {kSmall, kMedium, kLarge, kTiny}) {
        for (const int code : {0x20, 0x7F}) {
            const TGlyph& g = glyph(size, code);
            EXPECT_EQ(g.width, 0);
            EXPECT_EQ(g.height, 0);
            EXPECT_TRUE(g.bits.empty());
            EXPECT_EQ(g.advance, glyph(size, 0x20).advance);
            EXPECT_GT(g.advance, 1);
        }
    }
}

TEST(BuiltinLibrary, SizesGrowFromTinyToLarge) {
    for (const char c : {'H', 'x', '0', 'M'}) {
        SCOPED_TRACE(std::string(1, c));
        const int order[] = {kTiny, kSmall, kMedium, kLarge};
        for (int i = 1; i < 4; ++i) {
            EXPECT_LT(glyph(order[i - 1], c).height, glyph(order[i], c).height);
            EXPECT_LE(glyph(order[i - 1], c).advance, glyph(order[i], c).advance);
        }
    }
}

// Letters sit on one baseline, capitals start at the line's top and descenders hang below it.
TEST(BuiltinLibrary, LettersShareABaselineBelowTheLineTop) {
    for (const int size : {kSmall, kMedium, kLarge, kTiny}) {
        SCOPED_TRACE("size " + std::to_string(size));
        auto bottom = [&](char c) { return glyph(size, c).top + glyph(size, c).height; };
        for (const char c : {'x', 'a', 'E', 'n', '1'})
            EXPECT_EQ(bottom(c), bottom('H')) << c;
        EXPECT_GT(bottom('g'), bottom('H'));
        EXPECT_GT(bottom('p'), bottom('H'));
        EXPECT_GT(glyph(size, 'x').top, glyph(size, 'H').top);
        EXPECT_LE(glyph(size, 'H').top, 1);
        EXPECT_EQ(glyph(size, 'd').top, 0) << "the line top is the top of the ascenders";
        EXPECT_GE(glyph(size, 'H').left, 0);
        EXPECT_LT(glyph(size, 'H').left + glyph(size, 'H').width, glyph(size, 'H').advance + 1);
    }
}

TEST(BuiltinLibrary, DrawingItTwiceGivesTheSameBytes) {
    EXPECT_EQ(BuildBuiltinBlock(ZYL_DEJAVU_DIR), GeneratedLibrary::Get().block);
}

TEST(BuiltinLibrary, CommittedBlockIsWhatTheGeneratorDrawsNow) {
    std::ifstream in(ZYL_COMMITTED_BLOCK, std::ios::binary);
    ASSERT_TRUE(in) << ZYL_COMMITTED_BLOCK << " is missing; run `make assets`";
    const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(committed == GeneratedLibrary::Get().block)
        << "assets/builtin_library.bin is out of date; run `make assets` (committed " << committed.size()
        << " bytes, generated " << GeneratedLibrary::Get().block.size() << ")";
}

TEST(BuiltinLibrary, BlockStaysSmall) {
    EXPECT_LT(GeneratedLibrary::Get().block.size(), 100u * 1024u);
}

} // namespace
