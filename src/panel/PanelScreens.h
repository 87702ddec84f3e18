#pragma once

#include "render/FaceDrawing.h"
#include "render/Rect.h"
#include "render/Surface.h"

#include <array>
#include <span>
#include <string>

// The screens the panel draws itself rather than from the layout's faces: the eight-button page,
// the keypad of data-entry pages (the layout's own and the panel's default one) and the PIN pad.
// Plain flat keys with one-pixel outlines and captions in the built-in glyphs, sized for a finger.

// Keys of the keypad: 0 to 9 are the digits.
constexpr int kNoKey = -1;
constexpr int kClearKey = 10;
constexpr int kOkKey = 11;
constexpr int kCancelKey = 12;
// Keys of the eight-button page: 0 to 7 are its buttons.
constexpr int kBackKey = 8;

// The key under the point, or kNoKey.
int KeypadKeyAt(int x, int y);
int EightButtonKeyAt(int x, int y);
Rect KeypadKeyRect(int key);
Rect EightButtonKeyRect(int key);

struct ScreenColors {
    Argb background;
    Argb key;
    Argb pressed;
    Argb text;
};
// The panel's own colours, for the screens that have none in the layout.
constexpr ScreenColors kPanelColors{MakeArgb(24, 32, 48), MakeArgb(64, 80, 112), MakeArgb(224, 176, 48),
                                    MakeArgb(240, 240, 240)};

// The keypad on the right, the text lines and the number's box on the left. `glyphs` may be null
// (no captions).
void DrawKeypadScreen(Surface& surface, const GlyphList* glyphs, const ScreenColors& colors,
                      std::span<const std::u16string> lines, const std::u16string& number, int pressedKey);
// A title bar with the page's name and "Back", then eight keys in two columns.
void DrawEightButtonScreen(Surface& surface, const GlyphList* glyphs, const std::u16string& title,
                           std::span<const std::u16string, 8> labels, int pressedKey);
