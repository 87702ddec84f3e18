#include "editors/ColourChoice.h"

#include <QColor>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr int A = kAutomaticIndex;
constexpr int C = kCustomIndex;

TEST(ColourChoice, TableHoldsFortyDistinctNamedColours) {
    std::set<std::uint32_t> colours;
    std::set<std::string> names;
    for (const NamedColour& entry : colourTable) {
        EXPECT_EQ(entry.color & 0xFF000000, 0u) << entry.name;
        colours.insert(entry.color);
        names.insert(entry.name);
    }
    // Distinct colours make "the first index of a colour" the only one.
    EXPECT_EQ(colours.size(), 40u);
    EXPECT_EQ(names.size(), 40u);

    struct Case {
        int index;
        const char* name;
        int red, green, blue;
    };
    const Case cases[] = {
        {0, "Black", 0, 0, 0},        {1, "Brown", 165, 42, 0},           {13, "Blue", 0, 0, 255},
        {16, "Red", 255, 0, 0},       {35, "Pale green ", 152, 251, 152}, {37, "Pale blue", 104, 131, 139},
        {39, "White", 255, 255, 255},
    };
    for (const Case& c : cases) {
        const NamedColour& entry = colourTable[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(std::string(entry.name), c.name) << c.index;
        EXPECT_EQ(entry.color, static_cast<std::uint32_t>(c.red | c.green << 8 | c.blue << 16)) << c.name;
        EXPECT_EQ(ToQColor(entry.color), QColor(c.red, c.green, c.blue)) << c.name;
    }
}

TEST(ColourChoice, ChosenEntryForAColour) {
    struct Case {
        std::uint32_t color;
        bool hasAutomatic, hasCustom;
        int chosen;
    };
    const Case cases[] = {
        {kAutomaticColor, true, true, A},
        {kAutomaticColor, true, false, A},
        {kAutomaticColor, false, true, C},
        {kAutomaticColor, false, false, kNoIndex},
        {0x000000, true, true, 0},
        {0x0000FF, true, true, 16},
        {0xFF0000, false, false, 13},
        {0xFFFFFF, true, true, 39},
        {Rgb(152, 251, 152), true, true, 35},
        {0x123456, true, true, C},
        {0x123456, true, false, kNoIndex},
        // Red with a fourth byte is not red.
        {0x010000FF, true, true, C},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChosenIndex(c.color, c.hasAutomatic, c.hasCustom), c.chosen)
            << std::hex << c.color << ' ' << c.hasAutomatic << c.hasCustom;
}

TEST(ColourChoice, ArrowKeysMoveTheSelection) {
    using K = ArrowKey;
    struct Case {
        int from;
        K key;
        bool hasAutomatic, hasCustom;
        int to;
        int chosen = kNoIndex;
    };
    const Case cases[] = {
        // Inside the grid.
        {9, K::Left, true, true, 8},
        {8, K::Left, true, true, 7}, // wraps to the end of the row above
        {9, K::Up, true, true, 1},
        {9, K::Right, true, true, 10},
        {7, K::Right, true, true, 8}, // wraps to the start of the next row
        {9, K::Down, true, true, 17},
        {31, K::Down, true, true, 39},
        // Leaving the grid at its start or top.
        {0, K::Left, true, true, A},
        {0, K::Left, false, true, C},
        {0, K::Left, false, false, 39},
        {5, K::Up, true, true, A},
        {5, K::Up, true, false, A},
        {5, K::Up, false, true, C},
        {5, K::Up, false, false, 39},
        // Leaving the grid at its end or bottom.
        {39, K::Right, true, true, C},
        {39, K::Right, false, true, C},
        {39, K::Right, true, false, A},
        {39, K::Right, false, false, 0},
        {34, K::Down, true, true, C},
        {32, K::Down, true, false, A},
        {39, K::Down, false, false, 0},
        // From "Automatic".
        {A, K::Left, true, true, C},
        {A, K::Left, true, false, 39},
        {A, K::Up, true, true, C},
        {A, K::Up, true, false, 39},
        {A, K::Right, true, true, 0},
        {A, K::Right, true, false, 0},
        {A, K::Down, true, true, 0},
        // From "More Colors...".
        {C, K::Left, true, true, 39},
        {C, K::Left, false, true, 39},
        {C, K::Up, true, true, 39},
        {C, K::Right, true, true, A},
        {C, K::Right, false, true, 0},
        {C, K::Down, true, true, A},
        {C, K::Down, false, true, 0},
        // Before any selection a key moves from the chosen entry, else it lands on the first cell.
        {kNoIndex, K::Right, true, true, 17, 16},
        {kNoIndex, K::Up, true, true, C, A},
        {kNoIndex, K::Left, false, false, 0},
        // An entry the popup does not have is no starting point.
        {A, K::Left, false, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextSelection(c.from, c.key, c.hasAutomatic, c.hasCustom, c.chosen), c.to)
            << "from " << c.from << " key " << static_cast<int>(c.key) << " auto " << c.hasAutomatic << " custom "
            << c.hasCustom;
}

TEST(ColourChoice, PopupGeometry) {
    struct Case {
        const char* what;
        QSize text;
        bool hasAutomatic, hasCustom;
        QSize window;
        QPoint grid;
        QRect automatic, custom;
    };
    // m = 2, b = 18: the grid alone is 148 x 94; a caption 14 high gives entries 24 + m high.
    const Case cases[] = {
        {"grid only", {80, 14}, false, false, {148, 94}, {2, 2}, {}, {}},
        {"both", {80, 14}, true, true, {148, 154}, {2, 30}, {2, 2, 144, 26}, {2, 124, 144, 26}},
        {"automatic only", {80, 14}, true, false, {148, 124}, {2, 30}, {2, 2, 144, 26}, {}},
        {"more only", {80, 14}, false, true, {148, 124}, {2, 2}, {}, {2, 94, 144, 26}},
        {"wide caption", {200, 14}, true, true, {204, 154}, {2, 30}, {2, 2, 200, 26}, {2, 124, 200, 26}},
    };
    for (const Case& c : cases) {
        const PopupGeometry g = ComputePopupGeometry(2, 18, c.text, c.hasAutomatic, c.hasCustom);
        EXPECT_EQ(g.windowSize, c.window) << c.what;
        EXPECT_EQ(g.gridOrigin, c.grid) << c.what;
        EXPECT_EQ(g.defaultTextRect, c.automatic) << c.what;
        EXPECT_EQ(g.customTextRect, c.custom) << c.what;
        EXPECT_EQ(CellRect(g, 0), QRect(c.grid, QSize(18, 18))) << c.what;
        EXPECT_EQ(CellRect(g, 39).bottomRight(), c.grid + QPoint(8 * 18 - 1, 5 * 18 - 1)) << c.what;
        // Everything lies inside the window's raised edge.
        const QRect inner = QRect(QPoint(0, 0), g.windowSize).adjusted(2, 2, -2, -2);
        EXPECT_TRUE(inner.contains(CellRect(g, 39))) << c.what;
        EXPECT_TRUE(!c.hasCustom || inner.contains(g.customTextRect)) << c.what;
    }
}

TEST(ColourChoice, HitTestFindsWhatIsDrawnUnderThePoint) {
    const PopupGeometry g = ComputePopupGeometry(2, 18, {80, 14}, true, true);
    for (int i = 0; i < kColourCount; ++i) {
        const QRect cell = CellRect(g, i);
        EXPECT_EQ(HitTest(g, cell.topLeft()), i);
        EXPECT_EQ(HitTest(g, cell.bottomRight()), i);
    }
    struct Case {
        QPoint point;
        int index;
    };
    const Case cases[] = {
        {{2, 2}, A},         {{145, 27}, A},        {{2, 124}, C},         {{145, 149}, C},
        {{1, 40}, kNoIndex}, {{146, 40}, kNoIndex}, {{40, 28}, kNoIndex},  {{40, 121}, kNoIndex},
        {{0, 0}, kNoIndex},  {{-5, 40}, kNoIndex},  {{40, 200}, kNoIndex}, {{300, 40}, kNoIndex},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitTest(g, c.point), c.index) << c.point.x() << ',' << c.point.y();
}

TEST(ColourChoice, PlacementKeepsThePopupOnTheScreen) {
    const QRect screen(0, 0, 800, 600);
    struct Case {
        const char* what;
        QRect window;
        int buttonTop;
        QRect placed;
    };
    const Case cases[] = {
        {"fits", {100, 100, 150, 160}, 70, {100, 100, 150, 160}},
        {"touches the right edge", {650, 100, 150, 160}, 70, {650, 100, 150, 160}},
        {"past the right edge", {700, 100, 150, 160}, 70, {650, 100, 150, 160}},
        {"left of the screen", {-30, 100, 150, 160}, 70, {0, 100, 150, 160}},
        {"touches the bottom", {100, 440, 150, 160}, 410, {100, 440, 150, 160}},
        {"past the bottom opens above", {100, 500, 150, 160}, 470, {100, 310, 150, 160}},
        {"past the corner", {700, 500, 150, 160}, 470, {650, 310, 150, 160}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacePopup(c.window, screen, c.buttonTop), c.placed) << c.what;
    // A second screen to the right and below.
    EXPECT_EQ(PlacePopup({1700, 1000, 150, 160}, {800, 100, 1024, 1000}, 970), QRect(1674, 810, 150, 160));
    EXPECT_EQ(PlacePopup({780, 200, 150, 160}, {800, 100, 1024, 1000}, 170), QRect(800, 200, 150, 160));
}

} // namespace
