#include "RenderFixtures.h"
#include "TestPages.h"

#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"
#include "render/PageDrawing.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

constexpr Argb kGrey = MakeArgb(128, 128, 128);

// A slider image whose pixel (x, y) names itself; `clearKnob` makes the knob's own rows 16-59 clear.
std::unique_ptr<Picture> sliderPicture(bool clearKnob = false) {
    auto picture = CodedPicture(46, 76, 200, true);
    if (clearKnob)
        for (int y = 16; y < 60; ++y)
            for (int x = 0; x < 46; ++x)
                picture->SetPixel(x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200, 0});
    return picture;
}

void frame(TUserFace& face, std::int32_t imageId, std::u16string text) {
    face.kind = TUserFace::kButtonFace;
    face.value = imageId;
    face.text = std::move(text);
}

void fill(TUserFace& face, std::int32_t colorref) {
    face.kind = TUserFace::kColor;
    face.value = TUserFace::kSingleColor;
    face.color1 = colorref;
}

class PageDrawing : public ::testing::Test {
protected:
    PageDrawing() { fill(page.face, 0x00404040); }

    Surface paint(const TUserObject* selected = nullptr) {
        Surface surface(kScreenWidth, kScreenHeight, kSentinel);
        PaintPage(surface, page, selected);
        return surface;
    }

    TLayout layout;
    TUserPage page{&layout, u"page"};
};

const Argb kBackground = MakeArgb(0x40, 0x40, 0x40);

TEST_F(PageDrawing, EmptyPageShowsItsBackgroundAndABlankOneShowsBlack) {
    EXPECT_EQ(CountColor(paint(), kBackground, 0, 0, kScreenWidth, kScreenHeight), kScreenWidth * kScreenHeight);
    page.face.kind = TUserFace::kBlank;
    EXPECT_EQ(CountColor(paint(), kBlack, 0, 0, kScreenWidth, kScreenHeight), kScreenWidth * kScreenHeight);
    page.face.kind = TUserFace::kImage;
    page.face.value = 4242;
    EXPECT_EQ(CountColor(paint(), kBlack, 0, 0, kScreenWidth, kScreenHeight), kScreenWidth * kScreenHeight);
}

TEST_F(PageDrawing, PageCoversOnlyTheScreenOfALargerSurface) {
    auto& button = AddObjectAt<TUserButton>(page, 300, 200, 85, 50);
    fill(button.upFace, 0x000000FF);
    Surface surface(400, 300, kSentinel);
    PaintPage(surface, page, &button);
    EXPECT_EQ(CountColor(surface, kSentinel, 0, 0, 400, 300), 400 * 300 - kScreenWidth * kScreenHeight);
    // The top-left handle of the selection covers 2 x 2 of the button's pixels.
    EXPECT_EQ(CountColor(surface, MakeArgb(255, 0, 0), 0, 0, 400, 300), 20 * 40 - 4);
}

TEST_F(PageDrawing, ObjectsAreDrawnInListOrderCutAtTheScreensEdges) {
    auto& bottom = AddObjectAt<TUserButton>(page, 10, 10, 50, 40);
    fill(bottom.upFace, 0x000000FF);
    bottom.downFace.kind = TUserFace::kColor; // the down face is never shown on the page
    bottom.downFace.value = TUserFace::kSingleColor;
    bottom.downFace.color1 = 0x0000FF00;
    auto& top = AddObjectAt<TUserImage>(page, 30, 30, 50, 40);
    fill(top.face, 0x00FF0000);
    auto& corner = AddObjectAt<TUserImage>(page, 300, 200, 85, 50);
    fill(corner.face, 0x00FFFFFF);
    auto& beyond = AddObjectAt<TUserImage>(page, INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX);
    fill(beyond.face, 0x00000000);
    const Surface surface = paint();
    EXPECT_EQ(CountColor(surface, MakeArgb(255, 0, 0), 0, 0, kScreenWidth, kScreenHeight), 50 * 40 - 30 * 20);
    EXPECT_EQ(CountColor(surface, MakeArgb(0, 0, 255), 30, 30, 80, 70), 50 * 40);
    EXPECT_EQ(CountColor(surface, kWhite, 0, 0, kScreenWidth, kScreenHeight), 20 * 40);
    EXPECT_EQ(CountColor(surface, kWhite, 300, 200, 320, 240), 20 * 40);
    EXPECT_EQ(CountColor(surface, MakeArgb(0, 255, 0), 0, 0, kScreenWidth, kScreenHeight), 0);
}

TEST_F(PageDrawing, HotSpotsShowADottedGridEvery20Pixels) {
    struct Case {
        int width, height;
        std::set<int> columns; // grid lines, from the left edge
        std::set<int> rows;    // grid lines, from the top edge
    } cases[] = {
        {85, 50, {20, 40, 60, 80}, {20, 40}},
        {20, 50, {}, {20, 40}},
        {21, 20, {20}, {}},
        {20, 20, {}, {}},
        {40, 41, {20}, {20, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        page.objects.clear();
        AddObjectAt<TUserHotspot>(page, 100, 60, c.width, c.height);
        const Surface surface = paint();
        std::set<int> columns;
        std::set<int> rows;
        for (int d = 1; d < c.width; ++d)
            if (surface.Pixel(100 + d, 62) == kGrey)
                columns.insert(d);
        for (int d = 1; d < c.height; ++d)
            if (surface.Pixel(102, 60 + d) == kGrey)
                rows.insert(d);
        EXPECT_EQ(columns, c.columns);
        EXPECT_EQ(rows, c.rows);
        // Grid lines start with a dot at their start; the outline runs around (l, t)-(r, b) inclusive.
        for (const int d : c.columns) {
            EXPECT_EQ(surface.Pixel(100 + d, 60), kGrey);
            EXPECT_EQ(surface.Pixel(100 + d, 62), kGrey);
            EXPECT_EQ(surface.Pixel(100 + d, 63), kBackground);
        }
        EXPECT_EQ(surface.Pixel(100, 60), kGrey);
        EXPECT_EQ(surface.Pixel(102, 60), kGrey);
        EXPECT_EQ(surface.Pixel(101, 60), kBackground);
        EXPECT_EQ(surface.Pixel(100 + c.width, 60), kGrey);
        EXPECT_EQ(surface.Pixel(100 + c.width, 60 + c.height), kGrey);
        if ((c.height - 1) % 20 != 0) {
            EXPECT_EQ(surface.Pixel(100, 60 + c.height - 1), kBackground); // the left side runs upwards from (l, b)
        }
        EXPECT_EQ(CountColor(surface, kGrey, 0, 0, 100, kScreenHeight), 0);
        EXPECT_EQ(CountColor(surface, kGrey, 101 + c.width, 0, kScreenWidth, kScreenHeight), 0);
    }
}

// Sides that start farther off than drawing reaches keep the dots they would have had: from an odd
// start the dots fall on odd pixels. Down the right side of a hot spot from far above, and along
// its top from far left.
TEST_F(PageDrawing, HotSpotSidesFromFarOffKeepTheirDots) {
    constexpr int kOddFarOff = -(1 << 30) - 1;
    const struct {
        int left, top, width, height;
        bool down; // the pixels checked run down column `at`, else along row `at`
        int at;
    } cases[] = {
        {100, kOddFarOff, 60, 100 - kOddFarOff, true, 160},
        {kOddFarOff, 50, 100 - kOddFarOff, 40, false, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.down ? "down" : "along");
        page.objects.clear();
        AddObjectAt<TUserHotspot>(page, c.left, c.top, c.width, c.height);
        const Surface surface = paint();
        for (int v = 0; v < 100; ++v)
            EXPECT_EQ(surface.Pixel(c.down ? c.at : v, c.down ? v : c.at), v % 2 == 1 ? kGrey : kBackground) << v;
    }
}

TEST_F(PageDrawing, UprightSliderHasItsEndsTrackAndKnobWhereTheArithmeticPutsThem) {
    const std::int32_t opaque = AddPicture(layout, sliderPicture());
    const std::int32_t clearKnob = AddPicture(layout, sliderPicture(true));
    struct Case {
        const char* what;
        std::int32_t image;
        int width, height;
        int dx, dy;     // from the object's top-left
        int srcX, srcY; // the slider image pixel shown there
    } cases[] = {
        {"strip at left", opaque, 45, 130, 0, 0, 0, 0},
        {"top end", opaque, 45, 130, 44, 14, 44, 14},
        {"track above the knob", opaque, 45, 130, 10, 15, 10, 15},
        {"last track row above the knob top", opaque, 45, 130, 10, 43, 10, 15},
        {"knob top at top + 44", opaque, 45, 130, 10, 44, 10, 16},
        {"knob's extra column", opaque, 45, 130, 45, 44, 45, 16},
        {"knob bottom", opaque, 45, 130, 10, 89, 10, 61},
        {"track below the knob", opaque, 45, 130, 10, 90, 10, 60},
        {"last track row", opaque, 45, 130, 10, 114, 10, 60},
        {"bottom end", opaque, 45, 130, 10, 115, 10, 61},
        {"bottom end's last row", opaque, 45, 130, 10, 129, 10, 75},
        {"track switches at i = 47", clearKnob, 45, 130, 10, 61, 10, 15},
        {"track switches at i = 47, after", clearKnob, 45, 130, 10, 62, 10, 60},
        {"centred across a wide rectangle", opaque, 60, 130, 7, 0, 0, 0},
        {"odd spare width halves down", opaque, 50, 130, 2, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(320, 240, kSentinel);
        DrawLevelSlider(surface, c.image, layout, 40, 30, c.width, c.height);
        EXPECT_EQ(Hex(surface.Pixel(40 + c.dx, 30 + c.dy)), Hex(CodedPixel(c.srcX, c.srcY)));
    }
}

TEST_F(PageDrawing, UprightSliderDrawsOneHundredTrackRows) {
    // Clear ends and knob leave only the track: 100 rows, 45 wide, from top + 15.
    auto picture = sliderPicture();
    for (int y = 0; y < 76; ++y)
        for (int x = 0; x < 46; ++x)
            if ((y != 15 && y != 60) || x == 45)
                picture->SetPixel(x, y, {0, 0, 0, 0});
    const std::int32_t id = AddPicture(layout, std::move(picture));
    Surface surface(320, 240, kSentinel);
    DrawLevelSlider(surface, id, layout, 40, 30, 45, 130);
    const auto touched = ChangedPixels(Surface(320, 240, kSentinel), surface);
    EXPECT_EQ(touched.size(), 100u * 45u);
    EXPECT_EQ(touched.front(), (std::pair{40, 45}));
    EXPECT_EQ(touched.back(), (std::pair{84, 144}));
}

TEST_F(PageDrawing, LyingSliderReadsTheQuarterTurnedImage) {
    // The turned copy's pixel (c, r) is the image's (r, 75 - c).
    const std::int32_t id = AddPicture(layout, sliderPicture());
    struct Case {
        const char* what;
        int width, height;
        int dx, dy;
        int srcX, srcY; // in the upright image
    } cases[] = {
        {"left end", 130, 45, 0, 0, 0, 75},
        {"left end's last column", 130, 45, 14, 44, 44, 61},
        {"track before the knob: copy column 15", 130, 45, 45, 3, 3, 60},
        {"knob at left + 46 from copy column 16", 130, 45, 46, 0, 0, 59},
        {"knob's last column", 130, 45, 91, 45, 45, 14},
        {"track after the knob: copy column 61", 130, 45, 92, 7, 7, 14},
        {"right end from copy column 61", 130, 45, 115, 0, 0, 14},
        {"right end's last column", 130, 45, 129, 0, 0, 0},
        {"centred down a tall rectangle", 130, 60, 0, 7, 0, 75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Surface surface(320, 240, kSentinel);
        DrawLevelSlider(surface, id, layout, 40, 30, c.width, c.height);
        EXPECT_EQ(Hex(surface.Pixel(40 + c.dx, 30 + c.dy)), Hex(CodedPixel(c.srcX, c.srcY)));
    }
}

TEST_F(PageDrawing, SlidersWithoutAPictureDrawNothing) {
    auto empty = std::make_unique<TImageEntry>();
    empty->id = 20000;
    layout.images.push_back(std::move(empty));
    for (const std::int32_t id : {4242, 20000, -1}) {
        SCOPED_TRACE(id);
        page.objects.clear();
        auto& slider = AddObjectAt<TUserLevel>(page, 40, 30, 45, 130);
        slider.sliderImageId = id;
        EXPECT_EQ(CountColor(paint(), kBackground, 0, 0, kScreenWidth, kScreenHeight), kScreenWidth * kScreenHeight);
    }
}

TEST_F(PageDrawing, SelectionMarksAtTheScreensCornerShowTheirVisiblePart) {
    auto& object = AddObjectAt<TUserObject>(page, 0, 0, 10, 10); // a plain object draws nothing itself
    const Surface surface = paint(&object);
    // Grown rectangle (-1, -1)-(11, 11). Handles: 6 x 6 around (-1, -1), (-1, 11), (11, -1), (11, 11).
    struct Case {
        int x, y;
        Argb expected;
    } cases[] = {
        {0, 0, kWhite},       {1, 0, kBlack},       {0, 1, kBlack},      {1, 1, kBlack},   {2, 0, kBackground},
        {0, 8, kBlack},       {0, 9, kWhite},       {1, 9, kBlack},      {8, 0, kBlack},   {9, 0, kWhite},
        {9, 1, kBlack},       {8, 8, kBlack},       {9, 9, kWhite},      {13, 13, kBlack}, {14, 14, kBackground},
        {10, 3, kBlack},      {10, 4, kBackground}, {10, 5, kBlack},     {10, 7, kBlack},  {6, 10, kBlack},
        {5, 10, kBackground}, {2, 10, kBlack},      {5, 5, kBackground},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hex(surface.Pixel(c.x, c.y)), Hex(c.expected)) << c.x << "," << c.y;
    EXPECT_EQ(CountColor(surface, kWhite, 0, 0, kScreenWidth, kScreenHeight), 1 + 4 + 4 + 16);
}

TEST_F(PageDrawing, SelectionMarksSurroundTheObjectOnePixelOut) {
    auto& object = AddObjectAt<TUserObject>(page, 100, 100, 40, 30);
    const Surface surface = paint(&object);
    // Dotted outline on x = 99 and x = 140, y = 99 and y = 130, dots every other pixel from each line's start.
    EXPECT_EQ(surface.Pixel(104, 99), kBackground);
    EXPECT_EQ(surface.Pixel(105, 99), kBlack);
    EXPECT_EQ(surface.Pixel(140, 105), kBlack);
    EXPECT_EQ(surface.Pixel(140, 106), kBackground);
    EXPECT_EQ(surface.Pixel(120, 130), kBlack);
    EXPECT_EQ(surface.Pixel(121, 130), kBackground);
    EXPECT_EQ(surface.Pixel(99, 110), kBlack);
    EXPECT_EQ(surface.Pixel(99, 111), kBackground);
    // Handles' white insides: 4 x 4 each.
    EXPECT_EQ(CountColor(surface, kWhite, 0, 0, kScreenWidth, kScreenHeight), 4 * 16);
    EXPECT_EQ(CountColor(surface, kWhite, 97, 97, 101, 101), 16);
    EXPECT_EQ(CountColor(surface, kWhite, 139, 129, 143, 133), 16);
}

TEST_F(PageDrawing, ObjectsWithDamagedGeometryDrawWithoutOverflowing) {
    const std::int32_t image = AddPicture(layout, CodedPicture(50, 40));
    const struct {
        int left, top, width, height;
    } geometries[] = {
        {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {-1000000000, -1000000000, 2000000000, 2000000000},
        {INT_MAX, INT_MIN, INT_MIN, INT_MAX},
        {10, 10, -50, -50},
    };
    for (const auto& g : geometries) {
        SCOPED_TRACE(std::to_string(g.left) + "," + std::to_string(g.top) + " " + std::to_string(g.width) + " x " +
                     std::to_string(g.height));
        page.objects.clear();
        frame(AddObjectAt<TUserButton>(page, g.left, g.top, g.width, g.height).upFace, 5, u"Frame");
        auto& radial = AddObjectAt<TUserButton>(page, g.left, g.top, g.width, g.height);
        radial.upFace.kind = TUserFace::kColor;
        radial.upFace.value = TUserFace::kRadial;
        auto& picture = AddObjectAt<TUserImage>(page, g.left, g.top, g.width, g.height);
        picture.face.kind = TUserFace::kImage;
        picture.face.value = image;
        AddObjectAt<TUserLevel>(page, g.left, g.top, g.width, g.height);
        AddObjectAt<TUserLevel>(page, g.left, g.top, g.height, g.width);
        AddObjectAt<TUserHotspot>(page, g.left, g.top, g.width, g.height);
        for (const auto& selected : page.objects)
            paint(selected.get());
    }
    // A single colour a billion pixels out on every side still covers the whole screen.
    page.objects.clear();
    fill(AddObjectAt<TUserImage>(page, -1000000000, -1000000000, 2000000000, 2000000000).face, 0x000000FF);
    EXPECT_EQ(CountColor(paint(), MakeArgb(255, 0, 0), 0, 0, kScreenWidth, kScreenHeight),
              kScreenWidth * kScreenHeight);
}

TEST_F(PageDrawing, PageWithoutALayoutIsDrawnAsInAFreshOne) {
    TUserPage orphan(nullptr, u"orphan");
    orphan.face.kind = TUserFace::kImage;
    orphan.face.value = 1; // the built-in background
    Surface surface(kScreenWidth, kScreenHeight, kSentinel);
    PaintPage(surface, orphan, nullptr);
    page.face.kind = TUserFace::kImage;
    page.face.value = 1;
    EXPECT_EQ(surface, paint());
}

} // namespace

// The panel's view: buttons in their state, sliders at their level, no hot spot grids. At the
// default look it is the editor's drawing without the hot spots.
TEST_F(PageDrawing, PanelPageShowsButtonStatesAndSliderLevels) {
    struct Look : PanelLook {
        bool down = false;
        int level = 50;
        bool IsDown(const TUserObject&) const override { return down; }
        int Level(const TUserObject&) const override { return level; }
    };
    auto& button = AddObjectAt<TUserButton>(page, 10, 10, 50, 40);
    fill(button.upFace, 0x000000FF);
    fill(button.downFace, 0x0000FF00);
    const std::int32_t image = AddPicture(layout, sliderPicture());
    AddObjectAt<TUserLevel>(page, 200, 20, 45, 130).sliderImageId = image;
    AddObjectAt<TUserLevel>(page, 60, 150, 130, 45).sliderImageId = image;
    const Surface editorView = paint();
    AddObjectAt<TUserHotspot>(page, 100, 60, 85, 50);
    const struct {
        const char* what;
        bool down;
        int level;
        int x, y;
        Argb expected;
    } cases[] = {
        {"up face", false, 50, 20, 20, MakeArgb(255, 0, 0)},
        {"down face", true, 50, 20, 20, MakeArgb(0, 255, 0)},
        {"upright knob at 0", false, 0, 210, 20 + 83, CodedPixel(10, 16)},
        {"upright knob at 50", false, 50, 210, 20 + 44, CodedPixel(10, 16)},
        {"upright knob at 100", false, 100, 210, 20 + 5, CodedPixel(10, 16)},
        {"upright level below 0 is 0", false, -5, 210, 20 + 83, CodedPixel(10, 16)},
        {"upright level above 100 is 100", false, 150, 210, 20 + 5, CodedPixel(10, 16)},
        {"lying knob at 0", false, 0, 60 + 7, 150, CodedPixel(0, 59)},
        {"lying knob at 50", false, 50, 60 + 46, 150, CodedPixel(0, 59)},
        {"lying knob at 100", false, 100, 60 + 85, 150, CodedPixel(0, 59)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Look look;
        look.down = c.down;
        look.level = c.level;
        Surface surface(kScreenWidth, kScreenHeight, kSentinel);
        PaintPanelPage(surface, page, look);
        EXPECT_EQ(Hex(surface.Pixel(c.x, c.y)), Hex(c.expected));
        if (!c.down && c.level == 50) {
            EXPECT_EQ(surface, editorView);
        }
    }
}
