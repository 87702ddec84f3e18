#include "RenderFixtures.h"

#include "layout/TUserFace.h"
#include "render/FaceDrawing.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Points = std::set<std::pair<int, int>>;

Points changed(const Surface& before, const Surface& after) {
    const auto list = ChangedPixels(before, after);
    return {list.begin(), list.end()};
}

void setFace(TUserFace& face, std::int32_t kind, std::int32_t value, std::u16string text = u"") {
    face.kind = kind;
    face.value = value;
    face.text = std::move(text);
}

// Glyphs with known shapes: 'A' a 2 x 2 block, 'B' a 1 x 3 bar, 'C' one pixel in every size,
// 'D' one pixel that reaches above the line, 'L' the four levels side by side.
std::vector<std::unique_ptr<TGlyph>> testGlyphs() {
    std::vector<std::unique_ptr<TGlyph>> glyphs;
    glyphs.push_back(MakeGlyph(2, u'A', 2, 1, 7, {"33", "33"}));
    glyphs.push_back(MakeGlyph(2, u'B', 1, 0, 6, {"3", "3", "3"}));
    for (int size = 1; size <= 4; ++size)
        glyphs.push_back(MakeGlyph(size, u'C', 0, 4, 1, {"3"}));
    glyphs.push_back(MakeGlyph(2, u'D', 0, -1, 1, {"3"}));
    glyphs.push_back(MakeGlyph(2, u'L', 0, 0, 4, {"0123"}));
    // A second 'A' further down the list is never found.
    glyphs.push_back(MakeGlyph(2, u'A', 0, 0, 99, {"3333"}));
    return glyphs;
}

class FaceDrawing : public ::testing::Test {
protected:
    TLayout layout;
};

TEST_F(FaceDrawing, SingleColourFillsItsRectangleAndNothingElse) {
    TUserFace face;
    setFace(face, TUserFace::kColor, TUserFace::kSingleColor);
    face.color1 = 0x00332211;
    Surface surface(40, 30, kSentinel);
    DrawFace(surface, face, layout, {5, 6, 25, 16});
    const Points touched = changed(Surface(40, 30, kSentinel), surface);
    EXPECT_EQ(touched.size(), 200u);
    EXPECT_EQ(CountColor(surface, MakeArgb(0x11, 0x22, 0x33), 5, 6, 25, 16), 200);
}

TEST_F(FaceDrawing, GradientsRampQuadraticallyPerComponent) {
    const Argb black = MakeArgb(0, 0, 0);
    const Argb white = MakeArgb(255, 255, 255);
    const Argb warm = MakeArgb(200, 100, 50);
    struct Case {
        const char* what;
        int mode;
        Rect rect;
        Argb from, to;
        int x, y;
        Argb expected;
    } cases[] = {
        {"start of the ramp", 2, {0, 0, 100, 1}, black, white, 0, 0, black},
        {"k = 25 at column 50", 2, {0, 0, 100, 1}, black, white, 50, 0, MakeArgb(63, 63, 63)},
        {"k = 98 at column 99", 2, {0, 0, 100, 1}, black, white, 99, 0, MakeArgb(249, 249, 249)},
        {"downwards ramp", 2, {0, 0, 100, 1}, white, black, 50, 0, MakeArgb(191, 191, 191)},
        {"downwards ramp's end", 2, {0, 0, 100, 1}, white, black, 99, 0, MakeArgb(5, 5, 5)},
        {"top to bottom", 3, {0, 0, 1, 100}, black, white, 0, 50, MakeArgb(63, 63, 63)},
        {"components apart",
         3,
         {0, 0, 1, 4},
         MakeArgb(255, 0, 128),
         MakeArgb(0, 255, 128),
         0,
         3,
         MakeArgb(127, 127, 128)},
        {"radial middle", 4, {0, 0, 10, 10}, black, warm, 5, 5, MakeArgb(50, 25, 12)},
        {"radial corner", 4, {0, 0, 10, 10}, black, warm, 9, 9, MakeArgb(160, 80, 40)},
        {"offset rectangle", 2, {7, 3, 107, 4}, black, white, 57, 3, MakeArgb(63, 63, 63)},
        {"cut on the left", 2, {-50, 0, 50, 1}, black, white, 0, 0, MakeArgb(63, 63, 63)},
        {"radial cut at the top-left", 4, {-5, -5, 5, 5}, black, warm, 0, 0, MakeArgb(50, 25, 12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(120, 100, kSentinel);
        DrawGradient(surface, c.mode, c.from, c.to, c.rect);
        EXPECT_EQ(Hex(surface.Pixel(c.x, c.y)), Hex(c.expected));
        const Rect inside = c.rect.Intersected(surface.Bounds());
        EXPECT_EQ(ChangedPixels(Surface(120, 100, kSentinel), surface).size(),
                  static_cast<std::size_t>(inside.Width() * inside.Height()));
    }
}

TEST_F(FaceDrawing, GradientFacesTakeColorrefColours) {
    TUserFace face;
    setFace(face, TUserFace::kColor, TUserFace::kLeftToRight);
    face.color1 = 0x000000FF; // red
    face.color2 = 0x00FF0000; // blue
    Surface surface(100, 2, kSentinel);
    DrawFace(surface, face, layout, {0, 0, 100, 2});
    EXPECT_EQ(Hex(surface.Pixel(50, 1)), Hex(MakeArgb(191, 0, 63)));
}

TEST_F(FaceDrawing, RadialGradientHasOneColourPerAntiDiagonal) {
    Surface surface(10, 10, kSentinel);
    const Argb from = MakeArgb(10, 250, 30);
    DrawGradient(surface, TUserFace::kRadial, from, MakeArgb(240, 0, 90), {0, 0, 10, 10});
    EXPECT_EQ(surface.Pixel(0, 0), from);
    std::set<Argb> colours;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const int p = x + y;
            const Argb onDiagonal = p < 10 ? surface.Pixel(p, 0) : surface.Pixel(9, p - 9);
            EXPECT_EQ(surface.Pixel(x, y), onDiagonal) << x << "," << y;
            colours.insert(surface.Pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 10u);
}

TEST_F(FaceDrawing, FacesThatDrawNothing) {
    const std::int32_t frame = AddPicture(layout, CodedPicture(31, 31));
    struct Case {
        const char* what;
        std::int32_t kind, value;
        Rect rect;
        std::u16string text;
    } cases[] = {
        {"kind 5, even with a caption", 5, 1, {0, 0, 40, 20}, u"ABC"},
        {"a negative kind", -1, 1, {0, 0, 40, 20}, u"ABC"},
        {"blank without caption", TUserFace::kBlank, 0, {0, 0, 40, 20}, u""},
        {"single colour, zero width", TUserFace::kColor, 1, {5, 5, 5, 15}, u""},
        {"single colour, zero height", TUserFace::kColor, 1, {5, 5, 15, 5}, u""},
        {"left to right, zero width", TUserFace::kColor, 2, {5, 5, 5, 15}, u""},
        {"top to bottom, zero height", TUserFace::kColor, 3, {5, 5, 15, 5}, u""},
        {"radial, zero width", TUserFace::kColor, 4, {5, 5, 5, 15}, u""},
        {"radial, inverted", TUserFace::kColor, 4, {15, 15, 5, 5}, u""},
        {"unknown fill mode", TUserFace::kColor, 9, {0, 0, 40, 20}, u""},
        {"missing image", TUserFace::kImage, 4242, {0, 0, 40, 20}, u""},
        {"missing frame", TUserFace::kButtonFace, 4242, {0, 0, 40, 20}, u""},
        {"all-non-ASCII caption", TUserFace::kBlank, 0, {0, 0, 40, 20}, u"\u00E9\u4E2D\u00FF"},
        {"caption off the surface", TUserFace::kBlank, 0, {-400, 0, -300, 20}, u"ABC"},
        {"frame off the surface", TUserFace::kButtonFace, frame, {INT_MIN, 0, INT_MIN + 60, 20}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TUserFace face;
        setFace(face, c.kind, c.value, c.text);
        face.color1 = 0x00FFFFFF;
        Surface surface(40, 20, kSentinel);
        DrawFace(surface, face, layout, c.rect);
        EXPECT_EQ(surface, Surface(40, 20, kSentinel));
    }
}

TEST_F(FaceDrawing, CaptionIsDrawnOverWhateverTheFaceDrew) {
    UseGlyphs(layout, testGlyphs());
    // 'A' is 2 x 2 with left 2 and top 1: centred on (20, 10) its ink is (18..19, 10..11).
    const Points ink = {{18, 10}, {19, 10}, {18, 11}, {19, 11}};
    struct Case {
        const char* what;
        std::int32_t kind, value;
        Rect rect;
    } cases[] = {
        {"blank", TUserFace::kBlank, 0, {0, 0, 40, 20}},
        {"missing image", TUserFace::kImage, 4242, {0, 0, 40, 20}},
        {"missing frame", TUserFace::kButtonFace, 4242, {0, 0, 40, 20}},
        {"unknown fill mode", TUserFace::kColor, 9, {0, 0, 40, 20}},
        {"odd sizes halve downwards", TUserFace::kBlank, 0, {1, 1, 40, 20}},
        {"negative corner", TUserFace::kBlank, 0, {-1, -1, 42, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TUserFace face;
        setFace(face, c.kind, c.value, u"A");
        face.textColor = 0x00FFFFFF;
        face.textSize = TUserFace::kMedium;
        Surface surface(40, 20, kSentinel);
        DrawFace(surface, face, layout, c.rect);
        EXPECT_EQ(changed(Surface(40, 20, kSentinel), surface), ink);
    }
}

TEST_F(FaceDrawing, ImageFaceShowsThePicturesMiddle) {
    struct Case {
        const char* what;
        int width, height;
        Rect rect;
        int x, y;       // a surface pixel
        int srcX, srcY; // the picture pixel it shows
        std::size_t drawn;
    } cases[] = {
        {"100 x 80 in 50 x 50: top-left", 100, 80, {10, 10, 60, 60}, 10, 10, 25, 15, 2500},
        {"100 x 80 in 50 x 50: bottom-right", 100, 80, {10, 10, 60, 60}, 59, 59, 74, 64, 2500},
        {"5 x 5 in 10 x 10", 5, 5, {0, 0, 10, 10}, 3, 3, 0, 0, 25},
        {"4 x 4 in 9 x 9", 4, 4, {0, 0, 9, 9}, 2, 2, 0, 0, 16},
        {"cut by the surface", 100, 80, {-20, -20, 30, 30}, 0, 0, 45, 35, 900},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TUserFace face;
        setFace(face, TUserFace::kImage, AddPicture(layout, CodedPicture(c.width, c.height)));
        Surface surface(80, 80, kSentinel);
        DrawFace(surface, face, layout, c.rect);
        EXPECT_EQ(Hex(surface.Pixel(c.x, c.y)), Hex(CodedPixel(c.srcX, c.srcY)));
        EXPECT_EQ(ChangedPixels(Surface(80, 80, kSentinel), surface).size(), c.drawn);
    }
}

TEST_F(FaceDrawing, ButtonFrameStretchesTheMiddleOfItsImage) {
    const std::int32_t id = AddPicture(layout, CodedPicture(31, 31));
    struct Case {
        const char* what;
        int width, height;
        int dx, dy;     // offset from the frame's top-left
        int srcX, srcY; // the image pixel found there
    } cases[] = {
        {"top-left corner", 60, 50, 0, 0, 0, 0},
        {"top-left corner's far pixel", 60, 50, 14, 14, 14, 14},
        {"top edge, first column", 60, 50, 15, 0, 15, 0},
        {"top edge, last column", 60, 50, 44, 5, 15, 5},
        {"top-right corner", 60, 50, 45, 0, 16, 0},
        {"bottom-right corner", 60, 50, 59, 49, 30, 30},
        {"bottom edge", 60, 50, 20, 49, 15, 30},
        {"left edge", 60, 50, 0, 15, 0, 15},
        {"right edge", 60, 50, 59, 34, 30, 15},
        {"middle shows the fill", 60, 50, 30, 25, 15, 15},
        {"31 wide: one edge column", 31, 50, 15, 0, 15, 0},
        {"30 wide: corners only", 30, 50, 15, 0, 16, 0},
        {"20 wide: left corner where uncovered", 20, 50, 4, 0, 4, 0},
        {"20 wide: right corner on top", 20, 50, 5, 0, 16, 0},
        {"30 high: corners only", 60, 30, 0, 15, 0, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(100, 80, kSentinel);
        DrawButtonFrame(surface, id, layout, 10, 10, c.width, c.height);
        EXPECT_EQ(Hex(surface.Pixel(10 + c.dx, 10 + c.dy)), Hex(CodedPixel(c.srcX, c.srcY)));
        EXPECT_EQ(ChangedPixels(Surface(100, 80, kSentinel), surface).size(),
                  static_cast<std::size_t>(c.width * c.height));
    }
}

TEST_F(FaceDrawing, ButtonFrameFillShowsThroughClearPixels) {
    // Clear everywhere, so only the fill shows: 4 pixels in from the left and top, 8 from the others.
    auto picture = CodedPicture(31, 31, 200, true);
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 31; ++x)
            picture->SetPixel(x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200, 0});
    const std::int32_t id = AddPicture(layout, std::move(picture));
    Surface surface(100, 80, kSentinel);
    DrawButtonFrame(surface, id, layout, 10, 10, 60, 50);
    const Points touched = changed(Surface(100, 80, kSentinel), surface);
    EXPECT_EQ(touched.size(), 48u * 38u);
    EXPECT_EQ(CountColor(surface, CodedPixel(15, 15), 14, 14, 62, 52), 48 * 38);
}

TEST_F(FaceDrawing, TextIsMeasuredFromItsGlyphs) {
    const auto glyphs = testGlyphs();
    struct Case {
        const char* what;
        std::u16string text;
        int size;
        int width, height;
    } cases[] = {
        {"two glyphs", u"AB", 2, 7 + 6 - 2, 3},
        {"first glyph's left comes off", u"BA", 2, 6 + 7 - 1, 3},
        {"first character without a glyph", u"\u00E9A", 2, 7, 2},
        {"missing character in the middle", u"A\u00E9B", 2, 11, 3},
        {"first glyph in the list wins", u"A", 2, 5, 2},
        {"empty", u"", 2, 0, 0},
        {"nothing but non-ASCII", u"\u00E9\u4E2D", 2, 0, 0},
        {"size without glyphs", u"AB", 7, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GlyphTextWidth(glyphs, c.text, c.size), c.width);
        EXPECT_EQ(GlyphTextHeight(glyphs, c.text, c.size), c.height);
    }
}

TEST_F(FaceDrawing, GlyphTextIsPlacedAroundItsCentre) {
    const auto glyphs = testGlyphs();
    struct Case {
        const char* what;
        std::u16string text;
        int size;
        Points ink;
    } cases[] = {
        // width 5, height 2: x = 18, y0 = 9; 'A' at no offset, top 1
        {"one glyph", u"A", 2, {{18, 10}, {19, 10}, {18, 11}, {19, 11}}},
        // width 7: x = 17; 'A' is not first, so it stands at its left offset 2
        {"after a missing first character", u"\u00E9A", 2, {{19, 10}, {20, 10}, {19, 11}, {20, 11}}},
        // width 11, height 3: x = 15, y0 = 9; 'B' at x + 5 + left 1
        {"two glyphs", u"AB", 2, {{15, 10}, {16, 10}, {15, 11}, {16, 11}, {21, 9}, {21, 10}, {21, 11}}},
        {"size 1 on its top", u"C", 1, {{20, 14}}},
        {"size 2 on its top", u"C", 2, {{20, 14}}},
        {"size 3 a row higher", u"C", 3, {{20, 13}}},
        {"size 4 a row higher", u"C", 4, {{20, 13}}},
        {"top -1 above the line", u"D", 2, {{20, 9}}},
        {"nothing to draw", u"\u00E9\u00E8", 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(40, 20, kSentinel);
        DrawGlyphText(surface, glyphs, c.text, 20, 10, kWhite, c.size);
        EXPECT_EQ(changed(Surface(40, 20, kSentinel), surface), c.ink);
    }
}

TEST_F(FaceDrawing, GlyphLevelsMixTextAndBackgroundInThirds) {
    const auto glyphs = testGlyphs();
    const Argb under = MakeArgb(0, 30, 255);
    Surface surface(40, 20, under);
    DrawGlyphText(surface, glyphs, u"L", 20, 10, MakeArgb(255, 90, 0), 2);
    // width 4: the four levels at x = 18..21 on row 10
    EXPECT_EQ(Hex(surface.Pixel(18, 10)), Hex(under));
    EXPECT_EQ(Hex(surface.Pixel(19, 10)), Hex(MakeArgb(85, 50, 170)));
    EXPECT_EQ(Hex(surface.Pixel(20, 10)), Hex(MakeArgb(170, 70, 85)));
    EXPECT_EQ(Hex(surface.Pixel(21, 10)), Hex(MakeArgb(255, 90, 0)));
}

} // namespace
