#include "SampleFiles.h"

#include "picture/Picture.h"
#include "picture/PlainPng.h"
#include "picture/PixelBudget.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <string>

namespace {

struct DecodeCase {
    const char* name;
    PngContents contents;
    std::vector<Rgba> expected; // row by row
    bool alpha;
};

// Three by two pixels in every colour type and several depths; the expected values spell out how each
// widens to 8-bit RGBA.
std::vector<DecodeCase> decodeCases() {
    const auto grey = [](int depth, std::vector<std::uint16_t> samples) {
        return PngContents{3, 2, PNG_COLOR_TYPE_GRAY, depth, std::move(samples), {}, {}};
    };
    const auto g = [](std::uint8_t v, std::uint8_t a = 255) { return Rgba{v, v, v, a}; };
    const std::vector<Rgba> palette = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {9, 8, 7, 255}};
    std::vector<Rgba> clearPalette = palette;
    clearPalette[1].a = 0;
    clearPalette[3].a = 100;
    return {
        {"grey 1-bit", grey(1, {0, 1, 0, 1, 1, 0}), {g(0), g(255), g(0), g(255), g(255), g(0)}, false},
        {"grey 4-bit", grey(4, {0, 1, 7, 15, 8, 3}), {g(0), g(17), g(119), g(255), g(136), g(51)}, false},
        {"grey 16-bit",
         grey(16, {0, 257 * 10, 65535, 257 * 128, 100, 65000}),
         {g(0), g(10), g(255), g(128), g(0), g(253)},
         false},
        {"grey with a transparent value",
         PngContents{3, 2, PNG_COLOR_TYPE_GRAY, 8, {7, 8, 7, 9, 10, 7}, {}, {7}},
         {g(7, 0), g(8), g(7, 0), g(9), g(10), g(7, 0)},
         true},
        {"grey and alpha 16-bit",
         PngContents{3,
                     2,
                     PNG_COLOR_TYPE_GRAY_ALPHA,
                     16,
                     {257, 0, 514, 65535, 771, 257 * 128, 0, 0, 65535, 65535, 257 * 7, 257 * 9},
                     {},
                     {}},
         {g(1, 0), g(2, 255), g(3, 128), g(0, 0), g(255, 255), g(7, 9)},
         true},
        {"RGB 16-bit",
         PngContents{
             3,
             2,
             PNG_COLOR_TYPE_RGB,
             16,
             {65535, 0, 257, 0, 65535, 514, 257 * 50, 257 * 60, 257 * 70, 0, 0, 0, 65535, 65535, 65535, 1, 2, 3},
             {},
             {}},
         {{255, 0, 1, 255}, {0, 255, 2, 255}, {50, 60, 70, 255}, {0, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}},
         false},
        {"RGB with a transparent colour",
         PngContents{
             3, 2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 1, 2, 4, 1, 2, 3, 0, 0, 0, 1, 2, 3, 9, 9, 9}, {}, {1, 2, 3}},
         {{1, 2, 3, 0}, {1, 2, 4, 255}, {1, 2, 3, 0}, {0, 0, 0, 255}, {1, 2, 3, 0}, {9, 9, 9, 255}},
         true},
        {"RGBA 8-bit",
         PngContents{3,
                     2,
                     PNG_COLOR_TYPE_RGB_ALPHA,
                     8,
                     {1, 2, 3, 0, 4, 5, 6, 50, 7, 8, 9, 255, 10, 11, 12, 1, 13, 14, 15, 254, 16, 17, 18, 128},
                     {},
                     {}},
         {{1, 2, 3, 0}, {4, 5, 6, 50}, {7, 8, 9, 255}, {10, 11, 12, 1}, {13, 14, 15, 254}, {16, 17, 18, 128}},
         true},
        {"palette 2-bit",
         PngContents{3, 2, PNG_COLOR_TYPE_PALETTE, 2, {0, 1, 2, 3, 2, 1}, palette, {}},
         {palette[0], palette[1], palette[2], palette[3], palette[2], palette[1]},
         false},
        {"palette with tRNS",
         PngContents{3, 2, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2, 3, 1, 0}, clearPalette, {}},
         {clearPalette[0], clearPalette[1], clearPalette[2], clearPalette[3], clearPalette[1], clearPalette[0]},
         true},
    };
}

TEST(PngCodec, EveryColourTypeAndDepthWidensToRgba) {
    for (const DecodeCase& c : decodeCases()) {
        SCOPED_TRACE(c.name);
        Picture picture;
        try {
            picture.DecodePng(WritePng(c.contents));
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        ASSERT_EQ(picture.Width(), 3);
        ASSERT_EQ(picture.Height(), 2);
        EXPECT_EQ(picture.HasAlpha(), c.alpha);
        for (int i = 0; i < 6; ++i) {
            const Rgba p = picture.GetPixel(i % 3, i / 3);
            const Rgba e = c.expected[std::size_t(i)];
            EXPECT_TRUE(p == e) << "pixel " << i << ": " << int(p.r) << "," << int(p.g) << "," << int(p.b) << ","
                                << int(p.a);
        }
    }
}

TEST(PngCodec, InterlacedAndPaletteFilesFromAnotherWriter) {
    const Picture picture = MakePattern(11, 9, true);
    for (const bool palette : {false, true}) {
        for (const bool interlaced : {false, true}) {
            SCOPED_TRACE(std::string(palette ? "palette" : "direct") + (interlaced ? ", interlaced" : ""));
            const Bytes png = WriteWithMagick(picture, "PNG", palette, interlaced);
            ASSERT_EQ(png[28], interlaced ? 1 : 0); // Adam7 or none
            Picture decoded;
            decoded.DecodePng(png);
            EXPECT_TRUE(decoded.HasAlpha());
            EXPECT_EQ(MaxChannelDifference(decoded, picture), 0);
        }
    }
}

// A picture of `count` distinct colours (grey levels when `grey`), scattered at random but each used;
// the first `translucent` colours have alpha from 0 up.
Picture colours(int count, bool grey = false, int translucent = 0, int side = 32) {
    Picture picture(side, side);
    std::uint32_t seed = 12345;
    for (int i = 0; i < side * side; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const int k = i < count ? i : int(seed >> 8) % count;
        const auto v = static_cast<std::uint8_t>(k * 255 / std::max(count - 1, 1));
        Rgba c = grey ? Rgba{v, v, v, 255}
                      : Rgba{static_cast<std::uint8_t>(k * 73), static_cast<std::uint8_t>(k * 151 + k / 256 * 50),
                             static_cast<std::uint8_t>(k * 29), 255};
        if (k < translucent)
            c.a = static_cast<std::uint8_t>(255 * k / translucent);
        picture.SetPixel(i % side, i / side, c);
    }
    picture.SetHasAlpha(translucent > 0);
    return picture;
}

// The length of the PNG's tRNS chunk, or -1 when it has none.
long trnsLength(const Bytes& png) {
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::size_t length =
            std::size_t(png[at]) << 24 | std::size_t(png[at + 1]) << 16 | std::size_t(png[at + 2]) << 8 | png[at + 3];
        if (std::string(png.begin() + long(at) + 4, png.begin() + long(at) + 8) == "tRNS")
            return long(length);
        at += 12 + length;
    }
    return -1;
}

// Each picture is written in the least form that keeps it, and reads back pixel for pixel.
TEST(PngCodec, EncodingPicksTheSmallestExactForm) {
    Picture clearColours = colours(400);
    for (int x = 0; x < 32; ++x)
        clearColours.SetPixel(x, 5, {std::uint8_t(x), 0, 0, 0}); // each keeps its colour
    clearColours.SetHasAlpha(true);
    Picture opaqueFlagged = colours(300);
    opaqueFlagged.SetHasAlpha(true);
    Picture greyKey = colours(128, true); // even levels only
    greyKey.SetPixel(3, 3, {1, 1, 1, 0});
    greyKey.SetHasAlpha(true);
    Picture alphaIgnored = colours(2);
    alphaIgnored.SetPixel(0, 0, {0, 0, 0, 3}); // alpha that a picture without alpha does not have
    Picture fromPalette;
    fromPalette.DecodePng(WritePng(decodeCases()[9].contents)); // palette with tRNS
    struct Case {
        const char* name;
        Picture picture;
        int colourType;
        int depth;
        long trns; // -1: none
    } cases[] = {
        {"2 colours", colours(2), PNG_COLOR_TYPE_PALETTE, 1, -1},
        {"4 colours", colours(4), PNG_COLOR_TYPE_PALETTE, 2, -1},
        {"16 colours", colours(16), PNG_COLOR_TYPE_PALETTE, 4, -1},
        {"200 colours, 1 clear and 1 translucent", colours(200, false, 2), PNG_COLOR_TYPE_PALETTE, 8, 2},
        // Three by two pixels: PLTE and tRNS would cost more than the alpha channel.
        {"palette file with tRNS", fromPalette, PNG_COLOR_TYPE_RGB_ALPHA, 8, -1},
        {"black and white", colours(2, true), PNG_COLOR_TYPE_GRAY, 1, -1},
        {"4 greys", colours(4, true), PNG_COLOR_TYPE_GRAY, 2, -1},
        {"16 greys", colours(16, true), PNG_COLOR_TYPE_GRAY, 4, -1},
        {"256 greys", colours(256, true), PNG_COLOR_TYPE_GRAY, 8, -1},
        {"greys and one clear grey", greyKey, PNG_COLOR_TYPE_GRAY, 8, 2},
        {"translucent greys", colours(256, true, 256), PNG_COLOR_TYPE_GRAY_ALPHA, 8, -1},
        {"300 opaque colours", colours(300), PNG_COLOR_TYPE_RGB, 8, -1},
        {"300 opaque colours, alpha flagged", opaqueFlagged, PNG_COLOR_TYPE_RGB, 8, -1},
        {"translucent, many colours", colours(400, false, 300), PNG_COLOR_TYPE_RGB_ALPHA, 8, -1},
        {"clear pixels of many colours", clearColours, PNG_COLOR_TYPE_RGB_ALPHA, 8, -1},
        {"alpha without HasAlpha", alphaIgnored, PNG_COLOR_TYPE_PALETTE, 1, -1},
        {"one pixel", Picture(1, 1), PNG_COLOR_TYPE_GRAY, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes png = c.picture.EncodePng();
        ASSERT_GT(png.size(), 33u);
        EXPECT_LE(png.size(), EncodePlainPng(c.picture).size());
        EXPECT_EQ(png[24], c.depth);
        EXPECT_EQ(png[25], c.colourType);
        EXPECT_EQ(png[28], PNG_INTERLACE_NONE);
        EXPECT_EQ(trnsLength(png), c.trns);
        Picture back;
        back.DecodePng(png);
        bool same = true;
        for (int y = 0; y < back.Height(); ++y)
            for (int x = 0; x < back.Width(); ++x) {
                Rgba want = c.picture.GetPixel(x, y);
                want.a = c.picture.HasAlpha() ? want.a : 255;
                same = same && back.GetPixel(x, y) == want;
            }
        EXPECT_TRUE(same);
        EXPECT_EQ(back.HasAlpha(), c.trns >= 0 || c.colourType >= PNG_COLOR_TYPE_GRAY_ALPHA);
    }
}

TEST(PngCodec, EmptyPictureIsNotEncoded) {
    EXPECT_THROW(Picture().EncodePng(), PictureError);
    EXPECT_THROW(Picture(0, 4).EncodePng(), PictureError);
}

TEST(PngCodec, BadDataIsRefusedAndChangesNothing) {
    const Bytes good = MakePattern(20, 10, true).EncodePng();
    Bytes badCrc = good;
    badCrc[good.size() - 20] ^= 0x40; // inside the last IDAT
    Bytes zeroWidth = MakeHugePngHeader(0, 5);
    struct Case {
        const char* name;
        Bytes bytes;
        std::string expected;
    } cases[] = {
        {"nothing", {}, "PNG data is not a PNG image"},
        {"not PNG", Bytes(good.begin() + 1, good.end()), "PNG data is not a PNG image"},
        {"signature only", Bytes(good.begin(), good.begin() + 8), "PNG data is damaged or truncated: "},
        {"cut in IHDR", Bytes(good.begin(), good.begin() + 20), "PNG data is damaged or truncated: "},
        {"cut in IDAT", Bytes(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)),
         "PNG data is damaged or truncated: "},
        {"cut before IEND", Bytes(good.begin(), good.end() - 12), "PNG data is damaged or truncated: "},
        {"cut in IEND", Bytes(good.begin(), good.end() - 1), "PNG data is damaged or truncated: "},
        {"bad checksum", badCrc, "PNG data is damaged or truncated: "},
        {"zero width", zeroWidth, "PNG data is damaged or truncated: "},
        {"huge", MakeHugePngHeader(100000, 100000), "PNG data is too large: 100000 x 100000 pixels"},
        {"too tall", MakeHugePngHeader(1, Picture::kMaxSide + 1), "PNG data is too large: 1 x 16385 pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture picture = MakePattern(3, 2, true);
        const Picture before = picture;
        try {
            picture.DecodePng(c.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const PictureError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.expected.size()), c.expected);
        }
        EXPECT_EQ(picture, before);
    }
}

// A budget judges the declared size before anything is allocated; what it refuses takes nothing.
TEST(PngCodec, BudgetRefusesByDeclaredSize) {
    const Bytes small = MakePattern(6, 5, false).EncodePng();
    struct Case {
        const char* name;
        Bytes bytes;
        std::string expected; // empty: decodes
        std::int64_t left;
    } cases[] = {
        {"header of a huge picture", MakeHugePngHeader(Picture::kMaxSide, Picture::kMaxSide),
         "PNG data is too large here: 16384 x 16384 pixels (at most 10 on a side)", 40},
        {"one side too long", MakeHugePngHeader(11, 1), "PNG data is too large here: 11 x 1 pixels", 40},
        {"fits", small, "", 10},
        {"more than is left", small, "PNG data is too large here: 6 x 5 pixels, and only 10 pixels are left", 10},
    };
    PixelBudget budget(10, 40);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture picture = MakePattern(3, 2, true);
        const Picture before = picture;
        try {
            picture.DecodePng(c.bytes, &budget);
            EXPECT_TRUE(c.expected.empty()) << "accepted";
            EXPECT_EQ(picture.Width(), 6);
        } catch (const PictureError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, c.expected.size()), c.expected);
            EXPECT_FALSE(c.expected.empty());
            EXPECT_EQ(picture, before);
        }
        EXPECT_EQ(budget.Remaining(), c.left);
    }
}

} // namespace
