#include "LibraryFixture.h"
#include "generator/ButtonFaces.h"
#include "sheet/ContactSheet.h"
#include "sheet/SheetDrawing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int kFaceIds[] = {3, 4, 5, 6, 7, 8, 9, 16};

const Picture& image(int id) {
    const Picture* picture = GeneratedLibrary::Get().Image(id);
    if (picture == nullptr)
        throw std::runtime_error("no image " + std::to_string(id));
    return *picture;
}

int maxChannelDifference(Rgba a, Rgba b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b), std::abs(a.a - b.a)});
}

TEST(ButtonFaceArt, CornersAreClearOnFacesWithAlpha) {
    for (const int id : kFaceIds) {
        const Picture& face = image(id);
        if (!face.HasAlpha())
            continue;
        SCOPED_TRACE("face " + std::to_string(id));
        for (const auto& [x, y] : {std::pair{0, 0}, {30, 0}, {0, 30}, {30, 30}})
            EXPECT_EQ(face.GetPixel(x, y).a, 0) << x << "," << y;
    }
}

// The renderer fills from 4 pixels inside the left and top edges to 8 inside the right and bottom
// before laying the pieces over it; wherever that fill reaches, a piece that is not opaque lets
// it show through as a square patch.
TEST(ButtonFaceArt, EveryPixelOverTheRenderersFillIsOpaque) {
    for (const int id : kFaceIds) {
        const Picture& face = image(id);
        SCOPED_TRACE("face " + std::to_string(id));
        for (int y = 4; y <= 22; ++y)
            for (int x = 4; x <= 22; ++x)
                ASSERT_EQ(face.GetPixel(x, y).a, 255) << x << "," << y;
    }
}

// The centre is the fill, and the slices that border it when stretched must meet it without a seam.
TEST(ButtonFaceArt, MiddleSlicesSettleToTheFillColour) {
    for (const int id : kFaceIds) {
        const Picture& face = image(id);
        SCOPED_TRACE("face " + std::to_string(id));
        const Rgba fill = face.GetPixel(15, 15);
        EXPECT_EQ(fill.a, 255);
        for (int i = 14; i <= 16; ++i) {
            EXPECT_EQ(face.GetPixel(i, 15), fill) << "row 15, column " << i;
            EXPECT_EQ(face.GetPixel(15, i), fill) << "column 15, row " << i;
        }
    }
}

// Stretched by the renderer's nine-piece rules, the 31-pixel face must give the same button as
// drawing that face directly at the larger size: nothing in the art may depend on the size.
TEST(ButtonFaceArt, StretchedFrameMatchesTheFaceDrawnAtThatSize) {
    const std::pair<int, int> sizes[] = {{80, 40}, {120, 56}, {31, 31}, {45, 90}};
    for (const auto& face : BuiltinFaces()) {
        for (const auto& [w, h] : sizes) {
            SCOPED_TRACE("face " + std::to_string(face.id) + " at " + std::to_string(w) + "x" + std::to_string(h));
            Picture framed(w, h);
            Picture direct(w, h);
            FillRect(framed, 0, 0, w, h, {90, 120, 60, 255});
            FillRect(direct, 0, 0, w, h, {90, 120, 60, 255});
            DrawButtonFrame(framed, image(face.id), 0, 0, w, h);
            DrawPicture(direct, RenderButtonFace(face.style, w, h), 0, 0);
            int worst = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    worst = std::max(worst, maxChannelDifference(framed.GetPixel(x, y), direct.GetPixel(x, y)));
            EXPECT_LE(worst, 1);
        }
    }
}

TEST(ButtonFaceArt, FacesAreShadedLighterAtTheTopThanAtTheBottom) {
    for (const int id : kFaceIds) {
        const Picture& face = image(id);
        SCOPED_TRACE("face " + std::to_string(id));
        auto luma = [&](int y) {
            const Rgba c = face.GetPixel(15, y);
            return c.r * 299 + c.g * 587 + c.b * 114;
        };
        // The highlighted face is pushed in: its rim takes the light at the bottom.
        const bool pressed = id == 16;
        const int top = luma(4);
        const int bottom = luma(26);
        if (pressed)
            EXPECT_LT(top, bottom);
        else
            EXPECT_GT(top, bottom);
    }
}

// Rows 14, 15, 60 and 61 are all taken as plain track by one orientation or the other, and the
// track is drawn again under the knob, so those rows must match and be opaque or clear throughout.
TEST(SliderArt, TrackRowsMatchAndAreOpaqueOrClear) {
    const Picture& slider = image(2);
    for (const int row : {14, 60, 61}) {
        for (int x = 0; x < 45; ++x) {
            EXPECT_EQ(slider.GetPixel(x, row), slider.GetPixel(x, 15)) << "row " << row << ", column " << x;
            const int a = slider.GetPixel(x, row).a;
            EXPECT_TRUE(a == 0 || a == 255) << "column " << x << " alpha " << a;
        }
    }
    EXPECT_EQ(slider.GetPixel(22, 15).a, 255) << "the track runs down the middle";
    EXPECT_EQ(slider.GetPixel(2, 15).a, 0) << "and leaves the sides clear";
}

TEST(SliderArt, KnobFillsTheMiddleRowsAndEndsAboveTheTrackBelow) {
    const Picture& slider = image(2);
    EXPECT_EQ(slider.GetPixel(22, 38).a, 255);
    EXPECT_EQ(slider.GetPixel(6, 38).a, 255) << "the knob is wider than the track";
    EXPECT_EQ(slider.GetPixel(6, 15).a, 0);
    EXPECT_NE(slider.GetPixel(6, 24), slider.GetPixel(6, 60));
    // The end caps close the track: the outermost rows are clear in the middle.
    EXPECT_EQ(slider.GetPixel(22, 0).a, 0);
    EXPECT_EQ(slider.GetPixel(22, 75).a, 0);
}

TEST(OtherArt, IconsAreOpaqueInTheMiddleAndClearAtTheCorners) {
    for (const int id : {10, 11}) {
        const Picture& icon = image(id);
        SCOPED_TRACE("icon " + std::to_string(id));
        EXPECT_EQ(icon.GetPixel(0, 0).a, 0);
        EXPECT_EQ(icon.GetPixel(icon.Width() - 1, 0).a, 0);
        int opaque = 0;
        for (int y = 0; y < icon.Height(); ++y)
            for (int x = 0; x < icon.Width(); ++x)
                opaque += icon.GetPixel(x, y).a == 255;
        EXPECT_GT(opaque, icon.Width() * icon.Height() / 5);
    }
}

TEST(OtherArt, BackgroundIsDarkerAtTheBottomThanTheTop) {
    const Picture& background = image(1);
    auto luma = [&](int y) {
        int sum = 0;
        for (int x = 100; x < 220; ++x) {
            const Rgba c = background.GetPixel(x, y);
            sum += c.r + c.g + c.b;
        }
        return sum;
    };
    EXPECT_GT(luma(5), luma(234));
    EXPECT_LT(luma(5) / 120 / 3, 128) << "text in white must read on it";
}

// Captions are centred by the renderer from the glyphs' heights and tops alone; tops measured
// from the wrong line would sit every caption high or low on its button.
TEST(GlyphArt, CaptionsSitCentredOnTheirPoint) {
    const auto& library = GeneratedLibrary::Get().library;
    for (const int size : {1, 2, 3, 4}) {
        for (const std::u16string text : {u"ON", u"Cancel", u"INVALID", u"Dial", u"Enter"}) {
            SCOPED_TRACE("size " + std::to_string(size) + " text of " + std::to_string(text.size()));
            Picture canvas(120, 60);
            DrawGlyphText(canvas, library, text, 60, 30, {255, 255, 255, 255}, size);
            int first = -1, last = -1, left = -1, right = -1;
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 120; ++x)
                    if (canvas.GetPixel(x, y).r > 0) {
                        first = first < 0 ? y : first;
                        last = y;
                        left = left < 0 || x < left ? x : left;
                        right = std::max(right, x);
                    }
            ASSERT_GE(first, 0) << "nothing drawn";
            EXPECT_LE(std::abs(first + last - 60), 3) << "ink rows " << first << ".." << last;
            EXPECT_LE(std::abs(left + right - 120), 3) << "ink columns " << left << ".." << right;
        }
    }
}

TEST(ContactSheet, ShowsTheWholeLibrary) {
    const Picture sheet = MakeContactSheet(GeneratedLibrary::Get().library);
    EXPECT_EQ(sheet.Width(), 700);
    EXPECT_GT(sheet.Height(), 1000);
    EXPECT_FALSE(sheet.HasAlpha());
}

} // namespace
