#include "editors/colour/ColourChoice.h"

#include <QColor>

#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

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
    // Every cell in grid order, row by row.
    const Case cases[] = {
        {0, "Black", 0, 0, 0},
        {1, "Brown", 165, 42, 0},
        {2, "Dark Olive Green", 0, 64, 64},
        {3, "Dark Green", 0, 85, 0},
        {4, "Dark Teal", 0, 0, 94},
        {5, "Dark blue", 0, 0, 139},
        {6, "Indigo", 75, 0, 130},
        {7, "Dark grey", 40, 40, 40},
        {8, "Dark red", 139, 0, 0},
        {9, "Orange", 255, 104, 32},
        {10, "Dark yellow", 139, 139, 0},
        {11, "Green", 0, 147, 0},
        {12, "Teal", 56, 142, 142},
        {13, "Blue", 0, 0, 255},
        {14, "Blue-grey", 123, 123, 192},
        {15, "Grey - 40", 102, 102, 102},
        {16, "Red", 255, 0, 0},
        {17, "Light orange", 255, 173, 91},
        {18, "Lime", 50, 205, 50},
        {19, "Sea green", 60, 179, 113},
        {20, "Aqua", 127, 255, 212},
        {21, "Light blue", 125, 158, 192},
        {22, "Violet", 128, 0, 128},
        {23, "Grey - 50", 127, 127, 127},
        {24, "Pink", 255, 192, 203},
        {25, "Gold", 255, 215, 0},
        {26, "Yellow", 255, 255, 0},
        {27, "Bright green", 0, 255, 0},
        {28, "Turquoise", 64, 224, 208},
        {29, "Skyblue", 192, 255, 255},
        {30, "Plum", 72, 0, 72},
        {31, "Light grey", 192, 192, 192},
        {32, "Rose", 255, 228, 225},
        {33, "Tan", 210, 180, 140},
        {34, "Light yellow", 255, 255, 224},
        {35, "Pale green ", 152, 251, 152},
        {36, "Pale turquoise", 175, 238, 238},
        {37, "Pale blue", 104, 131, 139},
        {38, "Lavender", 230, 230, 250},
        {39, "White", 255, 255, 255},
    };
    ASSERT_EQ(std::size(cases), colourTable.size());
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
        // Inside the grid; its rim and the two entries follow in the next test.
        {9, K::Left, true, true, 8},
        {9, K::Up, true, true, 1},
        {9, K::Right, true, true, 10},
        {9, K::Down, true, true, 17},
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

// Every arrow from every cell on the grid's rim and from the two entries, with and without each
// entry. B marks a move off the grid's start or top row, E one off its end or bottom row.
TEST(ColourChoice, ArrowKeysAtTheGridsRim) {
    constexpr int B = 100;
    constexpr int E = 101;
    using Moves = std::array<int, 4>; // Left, Up, Right, Down
    const std::pair<int, Moves> rim[] = {
        {0, {B, B, 1, 8}},      {1, {0, B, 2, 9}},      {2, {1, B, 3, 10}},     {3, {2, B, 4, 11}},
        {4, {3, B, 5, 12}},     {5, {4, B, 6, 13}},     {6, {5, B, 7, 14}},     {7, {6, B, 8, 15}},
        {8, {7, 0, 9, 16}},     {16, {15, 8, 17, 24}},  {24, {23, 16, 25, 32}}, {15, {14, 7, 16, 23}},
        {23, {22, 15, 24, 31}}, {31, {30, 23, 32, 39}}, {32, {31, 24, 33, E}},  {33, {32, 25, 34, E}},
        {34, {33, 26, 35, E}},  {35, {34, 27, 36, E}},  {36, {35, 28, 37, E}},  {37, {36, 29, 38, E}},
        {38, {37, 30, 39, E}},  {39, {38, 31, E, E}},
    };
    struct Entries {
        bool hasAutomatic, hasCustom;
        int beforeGrid, afterGrid;
        Moves fromAutomatic, fromCustom; // only where the popup has the entry
    };
    const Entries entries[] = {
        {true, true, A, C, {C, C, 0, 0}, {39, 39, A, A}},
        {true, false, A, A, {39, 39, 0, 0}, {}},
        {false, true, C, C, {}, {39, 39, 0, 0}},
        {false, false, 39, 0, {}, {}},
    };
    const ArrowKey keys[] = {ArrowKey::Left, ArrowKey::Up, ArrowKey::Right, ArrowKey::Down};
    for (const Entries& e : entries) {
        std::vector<std::pair<int, Moves>> starts(std::begin(rim), std::end(rim));
        if (e.hasAutomatic)
            starts.emplace_back(A, e.fromAutomatic);
        if (e.hasCustom)
            starts.emplace_back(C, e.fromCustom);
        for (const auto& [from, moves] : starts)
            for (std::size_t k = 0; k < std::size(keys); ++k) {
                const int to = moves[k] == B ? e.beforeGrid : moves[k] == E ? e.afterGrid : moves[k];
                EXPECT_EQ(NextSelection(from, keys[k], e.hasAutomatic, e.hasCustom), to)
                    << "from " << from << " key " << k << " auto " << e.hasAutomatic << " custom " << e.hasCustom;
            }
    }
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
