#include "RenderFixtures.h"

#include "render/Surface.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

using Points = std::set<std::pair<int, int>>;

Points pixelsOf(const Surface& surface, Argb color) {
    Points found;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) == color)
                found.emplace(x, y);
    return found;
}

TEST(Surface, SizesAreCheckedAndPixelsStartFilledAndOpaque) {
    EXPECT_THROW(Surface(-1, 4), std::invalid_argument);
    EXPECT_THROW(Surface(4, Surface::kMaxSide + 1), std::invalid_argument);
    const Surface empty(0, 0);
    EXPECT_EQ(empty.Pixel(0, 0), 0u);

    const Surface surface(3, 2, 0x00123456); // an alpha byte of 0 still gives an opaque pixel
    EXPECT_EQ(surface.Pixel(2, 1), 0xFF123456u);
    EXPECT_EQ(surface.Stride(), 12);
}

TEST(Surface, BufferIsArgbWordsRowByRowForWrappingWithoutCopy) {
    Surface surface(5, 4, kBlack);
    surface.SetPixel(3, 2, MakeArgb(0x11, 0x22, 0x33));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(surface.Data());
    Argb word = 0;
    std::memcpy(&word, bytes + 2 * surface.Stride() + 3 * 4, 4);
    EXPECT_EQ(word, 0xFF112233u);

    const Picture picture = surface.ToPicture();
    EXPECT_FALSE(picture.HasAlpha());
    EXPECT_EQ(picture.GetPixel(3, 2), (Rgba{0x11, 0x22, 0x33, 255}));
}

TEST(Surface, PixelAccessAndFillsStayInsideTheSurface) {
    struct Case {
        const char* what;
        Rect rect;
        int filled;
    } cases[] = {
        {"inside", {2, 3, 5, 7}, 12},
        {"over the top-left corner", {-5, -5, 3, 2}, 6},
        {"over the bottom-right corner", {8, 8, 100, 100}, 4},
        {"wholly left of it", {-20, 0, -1, 10}, 0},
        {"empty", {4, 4, 4, 9}, 0},
        {"inverted", {6, 6, 2, 2}, 0},
        {"the whole int range", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(10, 10, kSentinel);
        surface.FillRect(c.rect, kWhite);
        EXPECT_EQ(CountColor(surface, kWhite, 0, 0, 10, 10), c.filled);
        const Rect inside = c.rect.Intersected(surface.Bounds());
        EXPECT_EQ(CountColor(surface, kWhite, inside.left, inside.top, inside.right, inside.bottom), c.filled);
    }
    Surface surface(4, 4, kSentinel);
    const Surface before = surface;
    for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {INT_MIN, INT_MAX}}) {
        surface.SetPixel(x, y, kWhite);
        EXPECT_EQ(surface.Pixel(x, y), 0u);
    }
    EXPECT_EQ(surface, before);
}

TEST(Surface, AlphaBlendsRoundToTheNearestLevel) {
    struct Case {
        std::uint8_t source;
        std::uint8_t alpha;
        std::uint8_t under;
        int expected;
    } cases[] = {
        {200, 255, 17, 200}, // opaque: the picture exactly
        {200, 0, 17, 17},    // clear: the surface exactly
        {255, 128, 0, 128},  // 32767 / 255 = 128.5 down to 128
        {0, 128, 255, 127},  // 32512 / 255 = 127.5 down to 127
        {255, 1, 0, 1},      // 382 / 255
        {0, 254, 255, 1},    // 382 / 255
        {100, 64, 200, 175}, // (6400 + 38200 + 127) / 255 = 175.4
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.source) + " at " + std::to_string(c.alpha) + " over " + std::to_string(c.under));
        Picture picture(1, 1);
        picture.SetPixel(0, 0, {c.source, c.source, c.source, c.alpha});
        picture.SetHasAlpha(true);
        Surface surface(1, 1, MakeArgb(c.under, c.under, c.under));
        surface.DrawPicture(picture, 0, 0);
        EXPECT_EQ(surface.Pixel(0, 0), MakeArgb(c.expected, c.expected, c.expected));
    }
    // Without an alpha channel the stored alpha means nothing: the pixel is copied.
    Picture opaque(1, 1);
    opaque.SetPixel(0, 0, {9, 8, 7, 0});
    Surface surface(1, 1, kWhite);
    surface.DrawPicture(opaque, 0, 0);
    EXPECT_EQ(surface.Pixel(0, 0), MakeArgb(9, 8, 7));
}

TEST(Surface, PicturesLandAtTheirPositionClippedToRectangleAndSurface) {
    struct Case {
        const char* what;
        int x, y;
        Rect clip;
        Rect expected; // the surface pixels the picture covers
    } cases[] = {
        {"inside", 2, 3, {0, 0, 20, 20}, {2, 3, 12, 11}},
        {"at a negative position", -4, -6, {0, 0, 20, 20}, {0, 0, 6, 2}},
        {"clipped", 2, 3, {5, 5, 7, 100}, {5, 5, 7, 11}},
        {"past the far edges", 15, 16, {0, 0, 100, 100}, {15, 16, 20, 20}},
        {"far away", INT_MIN, INT_MAX, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 0, 0}},
    };
    const auto picture = CodedPicture(10, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(20, 20, kSentinel);
        surface.DrawPicture(*picture, c.x, c.y, c.clip);
        const auto expectedCount = static_cast<int>(c.expected.Width() * c.expected.Height());
        EXPECT_EQ(static_cast<int>(ChangedPixels(Surface(20, 20, kSentinel), surface).size()), expectedCount);
        if (expectedCount > 0) {
            const int x = c.expected.left;
            const int y = c.expected.top;
            EXPECT_EQ(surface.Pixel(x, y), CodedPixel(x - c.x, y - c.y));
            EXPECT_EQ(surface.Pixel(c.expected.right - 1, c.expected.bottom - 1),
                      CodedPixel(c.expected.right - 1 - c.x, c.expected.bottom - 1 - c.y));
        }
    }
}

TEST(Surface, ScaledPicturesTakeTheSourcePixelUnderEachCentre) {
    struct Case {
        const char* what;
        int sourceWidth, sourceHeight;
        Rect dest, clip;
        Rect covered;             // the surface pixels drawn
        std::vector<int> columns; // source column of each dest column from dest.left
        std::vector<int> rows;    // source row of each dest row from dest.top
    } cases[] = {
        {"natural size", 3, 2, {2, 3, 5, 5}, {0, 0, 20, 20}, {2, 3, 5, 5}, {0, 1, 2}, {0, 1}},
        {"doubled", 2, 2, {1, 1, 5, 5}, {0, 0, 20, 20}, {1, 1, 5, 5}, {0, 0, 1, 1}, {0, 0, 1, 1}},
        {"tripled across only", 2, 1, {0, 0, 6, 1}, {0, 0, 20, 20}, {0, 0, 6, 1}, {0, 0, 0, 1, 1, 1}, {0}},
        {"3 to 7", 3, 1, {0, 0, 7, 1}, {0, 0, 20, 20}, {0, 0, 7, 1}, {0, 0, 1, 1, 1, 2, 2}, {0}},
        {"halved keeps the second of each pair", 4, 4, {0, 0, 2, 2}, {0, 0, 20, 20}, {0, 0, 2, 2}, {1, 3}, {1, 3}},
        {"3 to 2 keeps both ends", 3, 3, {5, 5, 7, 7}, {0, 0, 20, 20}, {5, 5, 7, 7}, {0, 2}, {0, 2}},
        {"to one pixel, the middle", 5, 5, {9, 9, 10, 10}, {0, 0, 20, 20}, {9, 9, 10, 10}, {2}, {2}},
        {"squeezed one way, stretched the other",
         6,
         2,
         {0, 0, 3, 4},
         {0, 0, 20, 20},
         {0, 0, 3, 4},
         {1, 3, 5},
         {0, 0, 1, 1}},
        // The mapping stays fixed to the rectangle however much of it is cut away.
        {"over the top-left corner",
         4,
         4,
         {-4, -4, 4, 4},
         {0, 0, 20, 20},
         {0, 0, 4, 4},
         {0, 0, 1, 1, 2, 2, 3, 3},
         {0, 0, 1, 1, 2, 2, 3, 3}},
        {"clipped",
         4,
         4,
         {2, 2, 10, 10},
         {5, 4, 7, 100},
         {5, 4, 7, 10},
         {0, 0, 1, 1, 2, 2, 3, 3},
         {0, 0, 1, 1, 2, 2, 3, 3}},
        {"past the far edges",
         2,
         2,
         {16, 18, 24, 26},
         {0, 0, 100, 100},
         {16, 18, 20, 20},
         {0, 0, 0, 0, 1, 1, 1, 1},
         {0, 0, 0, 0, 1, 1, 1, 1}},
        {"empty rectangle", 2, 2, {4, 4, 4, 9}, {0, 0, 20, 20}, {}, {}, {}},
        {"inverted rectangle", 2, 2, {6, 6, 2, 2}, {0, 0, 20, 20}, {}, {}, {}},
        {"clip outside", 2, 2, {0, 0, 8, 8}, {10, 10, 20, 20}, {}, {}, {}},
        {"far away", 2, 2, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, 0, 0}, {}, {}, {}},
        {"empty picture", 0, 0, {0, 0, 8, 8}, {0, 0, 20, 20}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto picture =
            c.sourceWidth > 0 ? CodedPicture(c.sourceWidth, c.sourceHeight) : std::make_unique<Picture>();
        Surface surface(20, 20, kSentinel);
        surface.DrawPictureScaled(*picture, c.dest, c.clip);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const Argb expected = c.covered.Contains(x, y)
                                          ? CodedPixel(c.columns.at(static_cast<std::size_t>(x - c.dest.left)),
                                                       c.rows.at(static_cast<std::size_t>(y - c.dest.top)))
                                          : kSentinel;
                ASSERT_EQ(Hex(surface.Pixel(x, y)), Hex(expected)) << "at " << x << ", " << y;
            }
    }
}

TEST(Surface, ScaledPicturesBlendByAlphaLikeUnscaledOnes) {
    Picture picture(2, 1);
    picture.SetPixel(0, 0, {255, 0, 0, 0}); // clear: the surface stays
    picture.SetPixel(1, 0, {255, 255, 255, 128});
    picture.SetHasAlpha(true);
    Surface scaled(4, 1, kBlack);
    scaled.DrawPictureScaled(picture, {0, 0, 4, 1}, scaled.Bounds());
    const Argb half = MakeArgb(128, 128, 128);
    EXPECT_EQ(Hex(scaled.Pixel(0, 0)), Hex(kBlack));
    EXPECT_EQ(Hex(scaled.Pixel(1, 0)), Hex(kBlack));
    EXPECT_EQ(Hex(scaled.Pixel(2, 0)), Hex(half));
    EXPECT_EQ(Hex(scaled.Pixel(3, 0)), Hex(half));

    // Without an alpha channel the same pixels are copied.
    picture.SetHasAlpha(false);
    scaled.DrawPictureScaled(picture, {0, 0, 4, 1}, scaled.Bounds());
    EXPECT_EQ(Hex(scaled.Pixel(1, 0)), Hex(MakeArgb(255, 0, 0)));
    EXPECT_EQ(Hex(scaled.Pixel(3, 0)), Hex(MakeArgb(255, 255, 255)));
}

TEST(Surface, BlitCopiesAnotherSurfaceAtAPosition) {
    Surface buffer(4, 3, kWhite);
    buffer.SetPixel(0, 0, MakeArgb(1, 1, 1));
    buffer.SetPixel(3, 2, MakeArgb(2, 2, 2));
    struct Case {
        int x, y;
        int copied;
    } cases[] = {{1, 1, 12}, {-1, -1, 6}, {5, 5, 0}, {4, 0, 6}, {INT_MIN, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        Surface surface(6, 5, kSentinel);
        surface.Blit(buffer, c.x, c.y);
        EXPECT_EQ(static_cast<int>(ChangedPixels(Surface(6, 5, kSentinel), surface).size()), c.copied);
        if (c.x == 1) {
            EXPECT_EQ(surface.Pixel(1, 1), MakeArgb(1, 1, 1));
            EXPECT_EQ(surface.Pixel(4, 3), MakeArgb(2, 2, 2));
        }
    }
}

TEST(Surface, LinesLeaveOutTheirEndAndDotsStartOn) {
    struct Case {
        const char* what;
        int x0, y0, x1, y1;
        Pen::Style style;
        Points expected;
    } cases[] = {
        {"solid to the right", 2, 5, 6, 5, Pen::kSolid, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {"solid to the left", 6, 5, 2, 5, Pen::kSolid, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {"dotted to the right", 0, 0, 6, 0, Pen::kDotted, {{0, 0}, {2, 0}, {4, 0}}},
        {"dotted to the left", 6, 0, 0, 0, Pen::kDotted, {{6, 0}, {4, 0}, {2, 0}}},
        {"dotted down from off the surface", 1, -3, 1, 5, Pen::kDotted, {{1, 1}, {1, 3}}},
        {"dotted up into the surface", 2, 12, 2, 3, Pen::kDotted, {{2, 8}, {2, 6}, {2, 4}}},
        {"dotted from far away", 3, INT_MIN, 3, 4, Pen::kDotted, {{3, 0}, {3, 2}}},
        {"a single point", 4, 4, 4, 4, Pen::kSolid, {}},
        {"off the surface", -1, 0, -1, 9, Pen::kSolid, {}},
        {"diagonal", 0, 0, 3, 3, Pen::kSolid, {{0, 0}, {1, 1}, {2, 2}}},
        {"shallow", 0, 0, 6, 2, Pen::kSolid, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
        {"dotted diagonal", 0, 0, 5, 5, Pen::kDotted, {{0, 0}, {2, 2}, {4, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(8, 9, kSentinel);
        surface.DrawLine(c.x0, c.y0, c.x1, c.y1, Pen{kWhite, c.style});
        EXPECT_EQ(pixelsOf(surface, kWhite), c.expected);
    }
}

TEST(Surface, RectanglesHaveAOnePixelOutlineAroundTheirFill) {
    Surface surface(10, 10, kSentinel);
    surface.DrawRectangle({2, 3, 8, 9}, kBlack, kWhite);
    EXPECT_EQ(CountColor(surface, kBlack, 0, 0, 10, 10), 20);
    EXPECT_EQ(CountColor(surface, kWhite, 3, 4, 7, 8), 16);
    EXPECT_EQ(CountColor(surface, kSentinel, 0, 0, 10, 10), 100 - 36);

    Surface corner(10, 10, kSentinel);
    corner.DrawRectangle({-3, -3, 3, 3}, kBlack, kWhite);
    EXPECT_EQ(pixelsOf(corner, kWhite), (Points{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
    EXPECT_EQ(pixelsOf(corner, kBlack), (Points{{2, 0}, {2, 1}, {2, 2}, {0, 2}, {1, 2}}));

    Surface tiny(3, 3, kSentinel);
    tiny.DrawRectangle({1, 1, 2, 2}, kBlack, kWhite);
    tiny.DrawRectangle({0, 0, 0, 3}, kBlack, kWhite);
    EXPECT_EQ(pixelsOf(tiny, kBlack), (Points{{1, 1}}));
    EXPECT_TRUE(pixelsOf(tiny, kWhite).empty());
}

} // namespace
