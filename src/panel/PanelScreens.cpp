#include "PanelScreens.h"

#include "render/PageDrawing.h"

#include <string>

namespace {

constexpr int kMedium = 2;
constexpr int kLarge = 3;

// Keypad: three columns of 48 x 43 keys on the right, rows 1-2-3, 4-5-6, 7-8-9, C-0-OK, Cancel.
constexpr int kPadLeft = 164;
constexpr int kPadColumn = 52;
constexpr int kPadKeyWidth = 48;
constexpr int kPadTop = 4;
constexpr int kPadRow = 47;
constexpr int kPadKeyHeight = 43;
constexpr int kPadLayout[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {kClearKey, 0, kOkKey}};

// Eight-button page: a 40-pixel title bar, then 2 x 4 keys of 154 x 45.
constexpr int kTitleHeight = 40;
constexpr Rect kBackRect{244, 4, 316, 36};
constexpr int kEightLeft = 4;
constexpr int kEightColumn = 158;
constexpr int kEightKeyWidth = 154;
constexpr int kEightTop = 44;
constexpr int kEightRow = 49;
constexpr int kEightKeyHeight = 45;

const Rect kNumberBox{4, 124, 160, 164};

std::u16string captionOf(int key) {
    switch (key) {
    case kClearKey:
        return u"C";
    case kOkKey:
        return u"OK";
    case kCancelKey:
        return u"Cancel";
    default:
        return std::u16string(1, static_cast<char16_t>(u'0' + key));
    }
}

void text(Surface& surface, const GlyphList* glyphs, const std::u16string& caption, int centerX, int centerY,
          Argb color, int size) {
    if (glyphs != nullptr)
        DrawGlyphText(surface, *glyphs, caption, centerX, centerY, color, size);
}

void key(Surface& surface, const GlyphList* glyphs, const Rect& rect, const std::u16string& caption, bool pressed,
         const ScreenColors& colors, int size) {
    surface.DrawRectangle(rect, colors.text, pressed ? colors.pressed : colors.key);
    text(surface, glyphs, caption, rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2,
         pressed ? colors.background : colors.text, size);
}

} // namespace

Rect KeypadKeyRect(int key) {
    if (key == kCancelKey)
        return {kPadLeft, kPadTop + 4 * kPadRow, kPadLeft + 2 * kPadColumn + kPadKeyWidth,
                kPadTop + 4 * kPadRow + kPadKeyHeight};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            if (kPadLayout[row][column] == key)
                return Rect::FromSize(kPadLeft + column * kPadColumn, kPadTop + row * kPadRow, kPadKeyWidth,
                                      kPadKeyHeight);
    return {};
}

int KeypadKeyAt(int x, int y) {
    for (int key = 0; key <= kCancelKey; ++key)
        if (KeypadKeyRect(key).Contains(x, y))
            return key;
    return kNoKey;
}

Rect EightButtonKeyRect(int key) {
    if (key == kBackKey)
        return kBackRect;
    if (key < 0 || key >= 8)
        return {};
    return Rect::FromSize(kEightLeft + key % 2 * kEightColumn, kEightTop + key / 2 * kEightRow, kEightKeyWidth,
                          kEightKeyHeight);
}

int EightButtonKeyAt(int x, int y) {
    for (int key = 0; key <= kBackKey; ++key)
        if (EightButtonKeyRect(key).Contains(x, y))
            return key;
    return kNoKey;
}

void DrawKeypadScreen(Surface& surface, const GlyphList* glyphs, const ScreenColors& colors,
                      std::span<const std::u16string> lines, const std::u16string& number, int pressedKey) {
    surface.FillRect({0, 0, kScreenWidth, kScreenHeight}, colors.background);
    const int centerX = kNumberBox.left + (kNumberBox.right - kNumberBox.left) / 2;
    int y = 20;
    for (const auto& line : lines) {
        text(surface, glyphs, line, centerX, y, colors.text, kMedium);
        y += 24;
    }
    surface.DrawRectangle(kNumberBox, colors.text, colors.key);
    text(surface, glyphs, number, centerX, kNumberBox.top + (kNumberBox.bottom - kNumberBox.top) / 2, colors.text,
         kLarge);
    for (int k = 0; k <= kCancelKey; ++k)
        key(surface, glyphs, KeypadKeyRect(k), captionOf(k), k == pressedKey, colors, k < 10 ? kLarge : kMedium);
}

void DrawEightButtonScreen(Surface& surface, const GlyphList* glyphs, const std::u16string& title,
                           std::span<const std::u16string, 8> labels, int pressedKey) {
    const ScreenColors& colors = kPanelColors;
    surface.FillRect({0, 0, kScreenWidth, kScreenHeight}, colors.background);
    surface.FillRect({0, 0, kScreenWidth, kTitleHeight}, colors.key);
    text(surface, glyphs, title, kBackRect.left / 2, kTitleHeight / 2, colors.text, kMedium);
    key(surface, glyphs, kBackRect, u"Back", pressedKey == kBackKey, colors, kMedium);
    for (int k = 0; k < 8; ++k)
        key(surface, glyphs, EightButtonKeyRect(k), labels[static_cast<std::size_t>(k)], k == pressedKey, colors,
            kMedium);
}
