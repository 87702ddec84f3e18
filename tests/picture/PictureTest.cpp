#include "SampleFiles.h"

#include "picture/Picture.h"

#include <gtest/gtest.h>

namespace {

TEST(Picture, SizesWithinTheLimitsAreMadeOpaqueBlack) {
    struct Case {
        int width;
        int height;
        bool accepted;
    } cases[] = {
        {0, 0, true},
        {1, 1, true},
        {7, 3, true},
        {Picture::kMaxSide, 1, true},
        {-1, 5, false},
        {5, -1, false},
        {Picture::kMaxSide + 1, 1, false},
        {1, Picture::kMaxSide + 1, false},
        {100000, 100000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        if (!c.accepted) {
            EXPECT_THROW(Picture(c.width, c.height), PictureError);
            continue;
        }
        const Picture picture(c.width, c.height);
        EXPECT_EQ(picture.Width(), c.width);
        EXPECT_EQ(picture.Height(), c.height);
        EXPECT_FALSE(picture.HasAlpha());
        for (int x : {0, c.width - 1}) {
            if (x >= 0 && c.height > 0) {
                EXPECT_EQ(picture.GetPixel(x, c.height - 1), (Rgba{0, 0, 0, 255}));
            }
        }
    }
}

TEST(Picture, PixelsOutsideReadTransparentAndIgnoreWrites) {
    Picture picture(4, 3);
    const Picture untouched = picture;
    for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {4, 3}, {-100000, 2}}) {
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_EQ(picture.GetPixel(x, y), Rgba{});
        picture.SetPixel(x, y, {9, 9, 9, 9});
        EXPECT_EQ(picture, untouched);
    }
    picture.SetPixel(3, 2, {1, 2, 3, 4});
    EXPECT_EQ(picture.GetPixel(3, 2), (Rgba{1, 2, 3, 4}));
    EXPECT_EQ(picture.Data()[(2 * 4 + 3) * 4 + 2], 3); // rows top to bottom, R G B A
}

Picture numbered(int w, int h) {
    Picture picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.SetPixel(x, y, {std::uint8_t(x), std::uint8_t(y), std::uint8_t(10 * y + x), 200});
    picture.SetHasAlpha(true);
    return picture;
}

TEST(Picture, QuarterTurnClockwise) {
    const Picture source = numbered(2, 3);
    const Picture turned = source.RotatedClockwise();
    ASSERT_EQ(turned.Width(), 3);
    ASSERT_EQ(turned.Height(), 2);
    EXPECT_TRUE(turned.HasAlpha());
    // The top row (y = 0) becomes the rightmost column, read top to bottom.
    EXPECT_EQ(turned.GetPixel(2, 0), source.GetPixel(0, 0));
    EXPECT_EQ(turned.GetPixel(2, 1), source.GetPixel(1, 0));
    EXPECT_EQ(turned.GetPixel(0, 0), source.GetPixel(0, 2));
    EXPECT_EQ(turned.GetPixel(0, 1), source.GetPixel(1, 2));
    EXPECT_EQ(turned.GetPixel(1, 1), source.GetPixel(1, 1));

    const Picture half = turned.RotatedClockwise();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(half.GetPixel(1 - x, 2 - y), source.GetPixel(x, y)) << x << "," << y;
    EXPECT_EQ(half.RotatedClockwise().RotatedClockwise(), source);
    EXPECT_EQ(Picture().RotatedClockwise(), Picture());
}

} // namespace
