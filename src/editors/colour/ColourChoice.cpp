#include "editors/colour/ColourChoice.h"

#include <QColor>

#include <algorithm>

const std::array<NamedColour, kColourCount> colourTable = {{
    {Rgb(0, 0, 0), "Black"},
    {Rgb(165, 42, 0), "Brown"},
    {Rgb(0, 64, 64), "Dark Olive Green"},
    {Rgb(0, 85, 0), "Dark Green"},
    {Rgb(0, 0, 94), "Dark Teal"},
    {Rgb(0, 0, 139), "Dark blue"},
    {Rgb(75, 0, 130), "Indigo"},
    {Rgb(40, 40, 40), "Dark grey"},

    {Rgb(139, 0, 0), "Dark red"},
    {Rgb(255, 104, 32), "Orange"},
    {Rgb(139, 139, 0), "Dark yellow"},
    {Rgb(0, 147, 0), "Green"},
    {Rgb(56, 142, 142), "Teal"},
    {Rgb(0, 0, 255), "Blue"},
    {Rgb(123, 123, 192), "Blue-grey"},
    {Rgb(102, 102, 102), "Grey - 40"},

    {Rgb(255, 0, 0), "Red"},
    {Rgb(255, 173, 91), "Light orange"},
    {Rgb(50, 205, 50), "Lime"},
    {Rgb(60, 179, 113), "Sea green"},
    {Rgb(127, 255, 212), "Aqua"},
    {Rgb(125, 158, 192), "Light blue"},
    {Rgb(128, 0, 128), "Violet"},
    {Rgb(127, 127, 127), "Grey - 50"},

    {Rgb(255, 192, 203), "Pink"},
    {Rgb(255, 215, 0), "Gold"},
    {Rgb(255, 255, 0), "Yellow"},
    {Rgb(0, 255, 0), "Bright green"},
    {Rgb(64, 224, 208), "Turquoise"},
    {Rgb(192, 255, 255), "Skyblue"},
    {Rgb(72, 0, 72), "Plum"},
    {Rgb(192, 192, 192), "Light grey"},

    {Rgb(255, 228, 225), "Rose"},
    {Rgb(210, 180, 140), "Tan"},
    {Rgb(255, 255, 224), "Light yellow"},
    {Rgb(152, 251, 152), "Pale green "},
    {Rgb(175, 238, 238), "Pale turquoise"},
    {Rgb(104, 131, 139), "Pale blue"},
    {Rgb(230, 230, 250), "Lavender"},
    {Rgb(255, 255, 255), "White"},
}};

int ChosenIndex(std::uint32_t color, bool hasAutomatic, bool hasCustom) {
    if (color == kAutomaticColor && hasAutomatic)
        return kAutomaticIndex;
    for (int i = 0; i < kColourCount; ++i)
        if (colourTable[static_cast<std::size_t>(i)].color == color)
            return i;
    return hasCustom ? kCustomIndex : kNoIndex;
}

namespace {

constexpr int kLastCell = kColourCount - 1;

// Leaving the grid before its start or above its top row.
int beforeGrid(bool hasAutomatic, bool hasCustom) {
    if (hasAutomatic)
        return kAutomaticIndex;
    return hasCustom ? kCustomIndex : kLastCell;
}

// Leaving the grid past its end or below its bottom row.
int afterGrid(bool hasAutomatic, bool hasCustom) {
    if (hasCustom)
        return kCustomIndex;
    return hasAutomatic ? kAutomaticIndex : 0;
}

} // namespace

int NextSelection(int selected, ArrowKey key, bool hasAutomatic, bool hasCustom, int chosen) {
    const bool backwards = key == ArrowKey::Left || key == ArrowKey::Up;
    if (selected == kAutomaticIndex && hasAutomatic) {
        if (backwards)
            return hasCustom ? kCustomIndex : kLastCell;
        return 0;
    }
    if (selected == kCustomIndex && hasCustom) {
        if (backwards)
            return kLastCell;
        return hasAutomatic ? kAutomaticIndex : 0;
    }
    if (selected < 0 || selected >= kColourCount) {
        const bool chosenExists = (chosen >= 0 && chosen < kColourCount) ||
                                  (chosen == kAutomaticIndex && hasAutomatic) || (chosen == kCustomIndex && hasCustom);
        return chosenExists ? NextSelection(chosen, key, hasAutomatic, hasCustom) : 0;
    }
    switch (key) {
    case ArrowKey::Left:
        return selected > 0 ? selected - 1 : beforeGrid(hasAutomatic, hasCustom);
    case ArrowKey::Up:
        return selected >= kColourColumns ? selected - kColourColumns : beforeGrid(hasAutomatic, hasCustom);
    case ArrowKey::Right:
        return selected < kLastCell ? selected + 1 : afterGrid(hasAutomatic, hasCustom);
    case ArrowKey::Down:
        return selected + kColourColumns < kColourCount ? selected + kColourColumns
                                                        : afterGrid(hasAutomatic, hasCustom);
    }
    return selected;
}

std::uint32_t SelectionColour(int index, std::uint32_t initial) {
    if (index >= 0 && index < kColourCount)
        return colourTable[static_cast<std::size_t>(index)].color;
    if (index == kAutomaticIndex)
        return kAutomaticColor;
    return initial;
}

int PopupBoxSize(int edge) {
    return std::max(18, 2 * edge + 7);
}

PopupGeometry ComputePopupGeometry(int margin, int boxSize, QSize textSize, bool hasAutomatic, bool hasCustom) {
    const int m = margin;
    PopupGeometry g;
    g.margin = m;
    g.boxSize = boxSize;
    int width = 2 * m + kColourColumns * boxSize;
    int height = 2 * m + kColourRows * boxSize;
    int gridTop = m;
    const int textWidth = textSize.width() + 2 * m;
    const int textHeight = textSize.height() + 4 * m + 2;
    if (hasAutomatic) {
        width = std::max(width, textWidth);
        g.defaultTextRect = QRect(QPoint(m, m), QPoint(width - m - 1, 2 * m + textHeight - 1));
        height += textHeight + 3 * m;
        gridTop += g.defaultTextRect.height() + m;
    }
    if (hasCustom) {
        width = std::max(width, textWidth);
        g.customTextRect = QRect(QPoint(m, height), QPoint(width - m - 1, height + m + textHeight - 1));
        height += textHeight + 3 * m;
    }
    g.windowSize = QSize(width, height);
    g.gridOrigin = QPoint(m, gridTop);
    return g;
}

QRect CellRect(const PopupGeometry& geometry, int index) {
    if (index < 0 || index >= kColourCount)
        return {};
    const int b = geometry.boxSize;
    return {geometry.gridOrigin.x() + (index % kColourColumns) * b,
            geometry.gridOrigin.y() + (index / kColourColumns) * b, b, b};
}

int HitTest(const PopupGeometry& geometry, QPoint point) {
    if (geometry.customTextRect.contains(point))
        return kCustomIndex;
    if (geometry.defaultTextRect.contains(point))
        return kAutomaticIndex;
    const QPoint inGrid = point - geometry.gridOrigin;
    const int b = geometry.boxSize;
    if (b <= 0 || inGrid.x() < 0 || inGrid.y() < 0)
        return kNoIndex;
    const int column = inGrid.x() / b;
    const int row = inGrid.y() / b;
    if (column >= kColourColumns || row >= kColourRows)
        return kNoIndex;
    return row * kColourColumns + column;
}

QRect PlacePopup(QRect window, const QRect& screen, int buttonTop) {
    if (window.x() + window.width() > screen.x() + screen.width())
        window.moveLeft(screen.x() + screen.width() - window.width());
    if (window.x() < screen.x())
        window.moveLeft(screen.x());
    if (window.y() + window.height() > screen.y() + screen.height())
        window.moveTop(buttonTop - window.height());
    return window;
}

QColor ToQColor(std::uint32_t color) {
    return {static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
            static_cast<int>((color >> 16) & 0xFF)};
}

std::uint32_t ButtonColourFromField(std::int32_t field) {
    return static_cast<std::uint32_t>(field) & 0x00FFFFFF;
}

std::int32_t FieldWithButtonColour(std::int32_t field, std::uint32_t color) {
    const std::uint32_t rgb = color == kAutomaticColor ? 0 : color & 0x00FFFFFF;
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(field) & 0xFF000000) | rgb);
}
