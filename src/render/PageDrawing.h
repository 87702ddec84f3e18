#pragma once

#include "Rect.h"
#include "Surface.h"

#include <cstdint>

class TLayout;
class TUserObject;
class TUserPage;

// Drawing of whole user pages as the panel shows them, plus the marks that exist only in the
// editor: hot spot grids and the selected object's outline and handles.

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

// The page at (0, 0) of the surface, cut to the screen's 320 x 240, with the selection marks of
// `selected` (null for none). Where the background face draws nothing the page is black.
void PaintPage(Surface& surface, const TUserPage& page, const TUserObject* selected);

// What the panel shows of its objects' state; the defaults are the editor's view: every button
// up, every slider at its middle.
class PanelLook {
public:
    virtual ~PanelLook() = default;
    // Whether the button shows its down face.
    virtual bool IsDown(const TUserObject&) const { return false; }
    // The slider's level, 0 (bottom or left) to 100 (top or right).
    virtual int Level(const TUserObject&) const { return 50; }
};

// The page as the panel shows it: buttons and sliders as `look` says, no hot spot grids, no
// selection marks.
void PaintPanelPage(Surface& surface, const TUserPage& page, const PanelLook& look);

// One object in its rectangle: a button in its up state, an image, a slider or a hot spot's grid.
void DrawObject(Surface& surface, const TUserPage& page, const TUserObject& object);

// A level slider built from the slider image: upright when width <= height, else lying (from the
// image turned a quarter clockwise); the knob at `level` (0..100, clamped), 50 near the middle.
// Nothing when the image is missing.
void DrawLevelSlider(Surface& surface, std::int32_t imageId, const TLayout& layout, int left, int top, int width,
                     int height, int level = 50);

// A dotted black outline one pixel outside the rectangle and four white 6 x 6 handles on its corners.
void DrawSelectionMarks(Surface& surface, const Rect& rect);
