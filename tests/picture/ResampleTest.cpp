#include "SampleFiles.h"

#include "picture/ImageFile.h"
#include "picture/Picture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>

namespace {

Picture filled(int w, int h, Rgba colour, bool alpha) {
    Picture picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.SetPixel(x, y, colour);
    picture.SetHasAlpha(alpha);
    return picture;
}

Picture checkerboard(int side) {
    Picture picture(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const std::uint8_t v = (x + y) % 2 == 0 ? 255 : 0;
            picture.SetPixel(x, y, {v, v, v, 255});
        }
    return picture;
}

// Vertical stripes of the given colours, one to three pixels wide, so resampling blends neighbours.
Picture stripes(const std::vector<Rgba>& colours, int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, colours[std::size_t(x * x / 3 + y / 4) % colours.size()]);
    picture.SetHasAlpha(std::any_of(colours.begin(), colours.end(), [](Rgba c) { return c.a != 255; }));
    return picture;
}

bool inPalette(const Picture& picture, Rgba c) {
    return std::find(picture.Palette().begin(), picture.Palette().end(), c) != picture.Palette().end();
}

// A file with a palette (grey files of up to 8 bits have their greys as one) keeps it through
// resampling; without the palette the same resample makes colours the file does not have.
TEST(Resample, PaletteFilesStayWithinTheirColours) {
    const std::vector<Rgba> four = {{200, 30, 30, 255}, {20, 160, 40, 255}, {30, 40, 210, 255}, {250, 250, 250, 255}};
    const std::vector<Rgba> clear = {{200, 30, 30, 255}, {0, 0, 0, 0}, {30, 40, 210, 255}};
    const PngContents oneBitGrey{8, 6, PNG_COLOR_TYPE_GRAY, 1, std::vector<std::uint16_t>(48), {}, {}};
    PngContents greyRamp{16, 4, PNG_COLOR_TYPE_GRAY, 8, {}, {}, {}};
    for (int i = 0; i < 64; ++i)
        greyRamp.samples.push_back(std::uint16_t(i * 37 % 256));
    PngContents bits = oneBitGrey;
    for (std::size_t i = 0; i < bits.samples.size(); ++i)
        bits.samples[i] = std::uint16_t((i * i / 3) % 2);
    const struct {
        const char* name;
        Bytes file;
        bool grey;
        std::size_t colours;
    } cases[] = {
        {"4-colour GIF", WriteWithMagick(stripes(four, 16, 12), "GIF"), false, 4},
        {"GIF with a clear colour", WriteWithMagick(stripes(clear, 16, 12), "GIF"), false, 3},
        {"palette BMP", WriteWithMagick(stripes(four, 16, 12), "BMP", true), false, 4},
        {"1-bit grey PNG", WritePng(bits), true, 2},
        {"8-bit grey PNG", WritePng(greyRamp), true, 256},
    };
    for (const auto& c : cases) {
        for (const auto& [w, h] : {std::pair{7, 5}, {29, 23}}) {
            SCOPED_TRACE(std::string(c.name) + " to " + std::to_string(w) + " x " + std::to_string(h));
            const Picture loaded = DecodeImageFile(c.file, c.name);
            ASSERT_GE(loaded.Palette().size(), c.colours);
            Picture picture = loaded;
            picture.Resample(w, h);
            EXPECT_EQ(picture.Palette(), loaded.Palette());
            Picture free = loaded;
            free.SetPalette({});
            free.Resample(w, h);
            bool freeLeaves = false;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const Rgba p = picture.GetPixel(x, y);
                    EXPECT_TRUE(inPalette(loaded, p)) << x << "," << y;
                    EXPECT_TRUE(!c.grey || (p.r == p.g && p.g == p.b)) << x << "," << y;
                    freeLeaves = freeLeaves || !inPalette(loaded, free.GetPixel(x, y));
                }
            EXPECT_EQ(freeLeaves, c.colours < 256);
        }
    }
}

TEST(Resample, SameSizeOrNoSizeChangesNothing) {
    for (const auto& [w, h] : {std::pair{12, 9}, {0, 5}, {5, 0}, {-3, 4}, {0, 0}, {-1, -1}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        Picture picture = MakePattern(12, 9, true);
        const Picture before = picture;
        picture.Resample(w, h);
        EXPECT_EQ(picture, before);
    }
}

TEST(Resample, RefusesSizesOverTheLimitsAndEmptySources) {
    Picture picture = MakePattern(4, 4, false);
    const Picture before = picture;
    EXPECT_THROW(picture.Resample(Picture::kMaxSide + 1, 2), PictureError);
    EXPECT_THROW(picture.Resample(2, Picture::kMaxSide + 1), PictureError);
    EXPECT_EQ(picture, before);
    Picture empty;
    EXPECT_THROW(empty.Resample(3, 3), PictureError);
}

TEST(Resample, UniformStaysUniformAtEverySize) {
    struct Case {
        Rgba colour;
        bool alpha;
    } colours[] = {
        {{90, 160, 30, 255}, false}, {{255, 255, 255, 255}, false}, {{200, 10, 70, 128}, true}, {{0, 0, 0, 0}, true}};
    for (const Case& c : colours) {
        for (const auto& [w, h] : {std::pair{7, 5}, {30, 3}, {1, 1}, {64, 48}, {11, 40}}) {
            SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " alpha " + std::to_string(c.colour.a));
            Picture picture = filled(20, 15, c.colour, c.alpha);
            picture.Resample(w, h);
            ASSERT_EQ(picture.Width(), w);
            ASSERT_EQ(picture.Height(), h);
            EXPECT_EQ(picture.HasAlpha(), c.alpha);
            EXPECT_EQ(MaxChannelDifference(picture, filled(w, h, c.colour, c.alpha)), 0);
        }
    }
}

TEST(Resample, ShrinkingAFinePatternAveragesIt) {
    // Point-sampling a one-pixel checkerboard gives black or white; a filter widened to the scale
    // gives the average grey.
    for (const auto& [side, tolerance] : {std::pair{8, 1}, {5, 2}, {3, 2}, {11, 6}, {1, 1}}) {
        SCOPED_TRACE(side);
        Picture picture = checkerboard(16);
        picture.Resample(side, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const Rgba p = picture.GetPixel(x, y);
                EXPECT_NEAR(p.r, 128, tolerance) << x << "," << y;
                EXPECT_EQ(p.a, 255);
            }
    }
}

TEST(Resample, TransparentNeighboursLeaveNoFringe) {
    // Left half opaque red, right half fully transparent green: filtering straight colour would drag
    // green into the edge; premultiplied it stays red however transparent it gets.
    Picture picture(12, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            picture.SetPixel(x, y, x < 6 ? Rgba{255, 0, 0, 255} : Rgba{0, 255, 0, 0});
    picture.SetHasAlpha(true);
    for (const auto& [w, h] : {std::pair{5, 3}, {31, 17}}) {
        Picture resized = picture;
        resized.Resample(w, h);
        bool sawEdge = false;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Rgba p = resized.GetPixel(x, y);
                if (p.a == 0)
                    continue;
                sawEdge = sawEdge || p.a < 255;
                EXPECT_GE(p.r, 250) << x << "," << y;
                EXPECT_LE(p.g, 2) << x << "," << y;
            }
        EXPECT_TRUE(sawEdge);
    }
}

TEST(Resample, DoublingAStepOvershootsAsCatmullRomDoes) {
    // Target x samples the source at (x + 0.5) / 2 - 0.5, a quarter of a pixel off a source pixel, so the
    // four nearest, 0.25, 0.75, 1.25 and 1.75 away, weigh 111, 29, -9 and -3 in 128ths; beyond the ends
    // the row mirrors about its end pixels. So 50 50 200 200 becomes
    //   x = 0: (-3 * 200 + 29 * 50 + 111 * 50 - 9 * 50) / 128 = 46.48  (bilinear: 50)
    //   x = 2: (-3 * 50 + 29 * 50 + 111 * 50 - 9 * 200) / 128 = 39.45  (bilinear: 50)
    //   x = 3: (-9 * 50 + 111 * 50 + 29 * 200 - 3 * 200) / 128 = 80.47  (bilinear: 87.5)
    // and the rest by symmetry (250 minus the mirrored pixel).
    const std::uint8_t source[] = {50, 50, 200, 200};
    const std::uint8_t expected[] = {46, 46, 39, 80, 170, 211, 204, 204};
    for (const bool across : {true, false}) {
        SCOPED_TRACE(across ? "across" : "down");
        Picture picture(across ? 4 : 1, across ? 1 : 4);
        for (int i = 0; i < 4; ++i)
            picture.SetPixel(across ? i : 0, across ? 0 : i, {source[i], source[i], source[i], 255});
        picture.Resample(across ? 8 : 1, across ? 1 : 8);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(picture.GetPixel(across ? i : 0, across ? 0 : i),
                      (Rgba{expected[i], expected[i], expected[i], 255}))
                << i;
    }
}

TEST(Resample, LinearRampStaysLinear) {
    // Catmull-Rom reproduces straight lines, so enlarging a ramp keeps it a ramp away from the edges.
    Picture picture(8, 1);
    for (int x = 0; x < 8; ++x)
        picture.SetPixel(x, 0, {std::uint8_t(x * 30), 0, 0, 255});
    picture.Resample(16, 1);
    for (int x = 4; x < 12; ++x)
        EXPECT_NEAR(picture.GetPixel(x, 0).r, (x + 0.5) / 2 * 30 - 15, 1) << x;
}

} // namespace
