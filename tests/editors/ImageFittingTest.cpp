#include "editors/dialogs/ImageFitting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string text(ImageSize size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

TEST(ImageFitting, PicturesShrinkInProportionToFitTheScreen) {
    struct Case {
        ImageSize given, fitted;
    } cases[] = {
        {{640, 480}, {320, 240}},  // both sides over by the same factor
        {{1000, 500}, {320, 160}}, // too wide
        {{100, 1000}, {24, 240}},  // too tall
        {{330, 50}, {320, 48}},    // 48.48 truncated
        {{321, 240}, {320, 239}},  // one pixel too wide
        {{320, 241}, {318, 240}},  // one pixel too tall
        {{320, 240}, {320, 240}},  // exactly the screen
        {{200, 100}, {200, 100}},  // small pictures stay
        {{0, 0}, {0, 0}},          // nothing loaded
        {{1000, 1}, {320, 1}},     // a sliver keeps a pixel instead of becoming 0 high
        {{1, 5000}, {1, 240}},     {{16384, 16384}, {240, 240}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(FitToScreen(c.given)), text(c.fitted)) << text(c.given);
}

TEST(ImageFitting, PreviewIsCentredInTheFrameLessItsMargins) {
    const Rect frame{10, 20, 336, 280};
    const Rect area = PreviewArea(frame);
    EXPECT_EQ(area, (Rect{13, 30, 333, 270}));
    struct Case {
        ImageSize size;
        Rect placed;
    } cases[] = {
        {{320, 240}, {13, 30, 333, 270}},
        {{200, 100}, {73, 100, 273, 200}},
        {{201, 101}, {72, 99, 273, 200}}, // odd halves truncated
        {{1, 1}, {172, 149, 173, 150}},
        {{330, 250}, {8, 25, 338, 275}}, // larger than the area: half the overhang either side
        {{331, 251}, {8, 25, 339, 276}}, // -5.5 truncated toward zero
        {{0, 0}, {173, 150, 173, 150}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewPlacement(area, c.size), c.placed) << text(c.size);
}

TEST(ImageFitting, RetainedRatioTruncatesTowardZero) {
    const double screen = AspectRatioOf({320, 240});
    const double tall = AspectRatioOf({3, 7});
    struct Case {
        const char* what;
        std::optional<int> got, expected;
    } cases[] = {
        {"width 100 at 4:3", HeightForWidth(100, screen), 75},
        {"height 120 at 4:3", WidthForHeight(120, screen), 160},
        {"width 1 at 4:3", HeightForWidth(1, screen), 0},
        {"width 319 at 4:3", HeightForWidth(319, screen), 239},
        {"width 10 at 3:7", HeightForWidth(10, tall), 23},
        {"height 10 at 3:7", WidthForHeight(10, tall), 4},
        {"no ratio without a size", HeightForWidth(100, AspectRatioOf({0, 0})), std::nullopt},
        {"no ratio without a height", WidthForHeight(100, AspectRatioOf({50, 0})), std::nullopt},
        {"no ratio without a width", HeightForWidth(100, AspectRatioOf({0, 50})), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(ImageFitting, DescriptionIsTheFileNameWithoutItsExtension) {
    EXPECT_EQ(DescriptionFromPath("/home/ann/pictures/Front Door.png"), "Front Door");
    EXPECT_EQ(DescriptionFromPath("/tmp/holiday.2024.jpeg"), "holiday.2024");
    EXPECT_EQ(DescriptionFromPath("/tmp/logo"), "logo");
}

} // namespace
