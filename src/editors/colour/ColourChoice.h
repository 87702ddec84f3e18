#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>

class QColor;

// The colour picker's rules that need no widget: the 40-colour table, which entry a colour
// marks as chosen, keyboard moves, the popup's geometry, hit test and on-screen placement.
// Colours are 0x00BBGGRR; kAutomaticColor stands for "no colour of its own".

inline constexpr std::uint32_t kAutomaticColor = 0xFF000000;

// Selection indexes besides the grid cells 0..39.
inline constexpr int kAutomaticIndex = -3;
inline constexpr int kCustomIndex = -2;
inline constexpr int kNoIndex = -1;

inline constexpr int kColourColumns = 8;
inline constexpr int kColourRows = 5;
inline constexpr int kColourCount = kColourColumns * kColourRows;

constexpr std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16;
}

struct NamedColour {
    std::uint32_t color;
    const char* name;
};

extern const std::array<NamedColour, kColourCount> colourTable;

// The entry a popup opened on `color` marks as chosen.
[[nodiscard]] int ChosenIndex(std::uint32_t color, bool hasAutomatic, bool hasCustom);

enum class ArrowKey { Left, Up, Right, Down };

// Where an arrow key moves the selection from `selected`. With nothing selected the move starts
// from `chosen` when there is one, else it lands on the first cell.
[[nodiscard]] int NextSelection(int selected, ArrowKey key, bool hasAutomatic, bool hasCustom, int chosen = kNoIndex);

// The colour a selection stands for: the cell's colour, kAutomaticColor for "Automatic",
// `initial` for "More Colors..." and for nothing.
[[nodiscard]] std::uint32_t SelectionColour(int index, std::uint32_t initial);

// The popup's layout in window coordinates. An entry that is absent has an empty rectangle.
struct PopupGeometry {
    int margin = 0;
    int boxSize = 0;
    QSize windowSize;
    QPoint gridOrigin;
    QRect defaultTextRect;
    QRect customTextRect;
};

// The side of a grid cell for the system's edge width.
[[nodiscard]] int PopupBoxSize(int edge);
// `textSize` is the widest and tallest of the entries' captions in the popup's font.
[[nodiscard]] PopupGeometry ComputePopupGeometry(int margin, int boxSize, QSize textSize, bool hasAutomatic,
                                                 bool hasCustom);
[[nodiscard]] QRect CellRect(const PopupGeometry& geometry, int index);
// The entry drawn under `point`, or kNoIndex.
[[nodiscard]] int HitTest(const PopupGeometry& geometry, QPoint point);

// Keeps a popup placed at `window` (its top-left at the button's bottom-left) on `screen`; one
// that would reach below the screen goes above the button, its bottom meeting `buttonTop`.
[[nodiscard]] QRect PlacePopup(QRect window, const QRect& screen, int buttonTop);

[[nodiscard]] QColor ToQColor(std::uint32_t color);

// A page's colour field as a button colour (red, green and blue bytes), and the field after
// taking a button's colour: the fourth byte is kept, "Automatic" gives black.
[[nodiscard]] std::uint32_t ButtonColourFromField(std::int32_t field);
[[nodiscard]] std::int32_t FieldWithButtonColour(std::int32_t field, std::uint32_t color);
