#include "PageDrawing.h"

#include "DrawingDetail.h"
#include "FaceDrawing.h"
#include "layout/TConstUserObjectVisitor.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"
#include "picture/Picture.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kGridStep = 20;
constexpr Argb kGridGrey = MakeArgb(128, 128, 128);
constexpr int kHandleHalf = 3;

// The slider image is an upright strip: rows 0-14 the top end, row 15 track above the knob, rows
// 16-61 the knob, row 60 track below it, rows 61-75 the bottom end. Lying sliders read the
// quarter-turned copy, where those rows have become columns.
constexpr int kStripWidth = 45;
constexpr int kEndLength = 15;
constexpr int kKnobSize = 46;
constexpr int kTrackAbove = 15;
constexpr int kUprightTrackBelow = 60;
constexpr int kLyingTrackBelow = 61;
constexpr int kKnobStart = 16;
constexpr int kUprightBottomEnd = 61;
constexpr int kLyingRightEnd = 61;

// Where the knob sits along the track: level 50 gives the editor's knob near the middle exactly.
Coord knobOffset(Coord length, int share, double offset) {
    return static_cast<Coord>(std::trunc(static_cast<double>((length - 52) * share) / 100.0 + offset));
}

void drawUprightSlider(Surface& surface, const Picture& picture, Coord left, Coord top, Coord width, Coord height,
                       int level) {
    const Coord x = left + (width - kStripWidth) / 2;
    const Coord knob = knobOffset(height, 100 - level, 8.0);
    const auto [first, end] = VisibleIndices(top + kEndLength, height - 2 * kEndLength, surface.Height());
    for (Coord i = first; i < end; ++i)
        DrawPicturePart(surface, picture, x, top + kEndLength + i, kStripWidth, 1, 0,
                        i < knob ? kTrackAbove : kUprightTrackBelow);
    DrawPicturePart(surface, picture, x, top, kStripWidth, kEndLength, 0, 0);
    DrawPicturePart(surface, picture, x, top + height - kEndLength, kStripWidth, kEndLength, 0, kUprightBottomEnd);
    DrawPicturePart(surface, picture, x, top + knob - 3, kKnobSize, kKnobSize, 0, kKnobStart);
}

void drawLyingSlider(Surface& surface, const Picture& picture, Coord left, Coord top, Coord width, Coord height,
                     int level) {
    const Picture turned = picture.RotatedClockwise();
    const Coord y = top + (height - kStripWidth) / 2;
    const Coord knob = knobOffset(width, level, 10.0);
    const auto [first, end] = VisibleIndices(left + kEndLength, width - 2 * kEndLength, surface.Width());
    for (Coord i = first; i < end; ++i)
        DrawPicturePart(surface, turned, left + kEndLength + i, y, 1, kStripWidth,
                        i < knob ? kTrackAbove : kLyingTrackBelow, 0);
    DrawPicturePart(surface, turned, left + width - kEndLength, y, kEndLength, kStripWidth, kLyingRightEnd, 0);
    DrawPicturePart(surface, turned, left, y, kEndLength, kStripWidth, 0, 0);
    DrawPicturePart(surface, turned, left + knob - 3, y, kKnobSize, kKnobSize, kKnobStart, 0);
}

void drawLevelSlider(Surface& surface, std::int32_t imageId, const TLayout& layout, Coord left, Coord top, Coord width,
                     Coord height, int level) {
    const Picture* picture = FindPicture(layout, imageId);
    if (picture == nullptr)
        return;
    level = std::clamp(level, 0, 100);
    if (width <= height)
        drawUprightSlider(surface, *picture, left, top, width, height, level);
    else
        drawLyingSlider(surface, *picture, left, top, width, height, level);
}

// Clamps far-out ends to the same parity, so a dotted line keeps its dots where they were.
int lineEnd(Coord value) {
    const int clamped = ToCoordinate(value);
    return (value - clamped) % 2 == 0 ? clamped : clamped + (clamped < 0 ? -1 : 1);
}

void line(Surface& surface, Coord x0, Coord y0, Coord x1, Coord y1, const Pen& pen) {
    surface.DrawLine(lineEnd(x0), lineEnd(y0), lineEnd(x1), lineEnd(y1), pen);
}

// The first multiple of the grid step, from one step on, whose line start + d is not left of 0.
Coord firstGridLine(Coord start) {
    return start >= -kGridStep ? kGridStep : (-start + kGridStep - 1) / kGridStep * kGridStep;
}

// Hot spots are invisible on the panel; the editor shows them as a dotted grey grid.
void drawHotspot(Surface& surface, const TUserObject& object) {
    const Pen pen{kGridGrey, Pen::kDotted};
    const Coord l = object.left;
    const Coord t = object.top;
    const Coord r = l + object.width;
    const Coord b = t + object.height;
    for (Coord d = firstGridLine(l); d < object.width && l + d < surface.Width(); d += kGridStep)
        line(surface, l + d, t, l + d, b, pen);
    for (Coord d = firstGridLine(t); d < object.height && t + d < surface.Height(); d += kGridStep)
        line(surface, l, t + d, r, t + d, pen);
    line(surface, l, t, r, t, pen);
    line(surface, r, t, r, b, pen);
    line(surface, r, b, l, b, pen);
    line(surface, l, b, l, t, pen);
}

// A page made without a layout is drawn as if it stood in a fresh one.
const TLayout& layoutOf(const TUserPage& page) {
    if (page.owner != nullptr)
        return *page.owner;
    static const TLayout fresh;
    return fresh;
}

// Each kind draws itself in its rectangle; a kind without a class of its own draws nothing. With a
// panel look the objects show their state and hot spots stay invisible, as on the panel.
class ObjectPainter : public TConstUserObjectVisitor {
public:
    ObjectPainter(Surface& surface, const TLayout& layout, const PanelLook* panel = nullptr)
        : surface_(surface), layout_(layout), panel_(panel) {}

    void Visit(const TUserObject&) override {}
    void Visit(const TUserButton& button) override {
        const bool down = panel_ != nullptr && panel_->IsDown(button);
        DrawFace(surface_, down ? button.downFace : button.upFace, layout_, rectOf(button));
    }
    void Visit(const TUserLevel& level) override {
        drawLevelSlider(surface_, level.sliderImageId, layout_, level.left, level.top, level.width, level.height,
                        panel_ != nullptr ? panel_->Level(level) : 50);
    }
    void Visit(const TUserImage& image) override { DrawFace(surface_, image.face, layout_, rectOf(image)); }
    void Visit(const TUserHotspot& hotspot) override {
        if (panel_ == nullptr)
            drawHotspot(surface_, hotspot);
    }

private:
    static Rect rectOf(const TUserObject& object) {
        return Rect::FromSize(object.left, object.top, object.width, object.height);
    }

    Surface& surface_;
    const TLayout& layout_;
    const PanelLook* panel_;
};

// The screen's buffer with the background and every object. It is not cleared by the face, so it
// starts black.
Surface drawnPage(const TUserPage& page, const PanelLook* look) {
    Surface buffer(kScreenWidth, kScreenHeight, kBlack);
    DrawFace(buffer, page.face, layoutOf(page), {0, 0, kScreenWidth, kScreenHeight});
    ObjectPainter painter(buffer, layoutOf(page), look);
    for (const auto& object : page.objects)
        object->Accept(painter);
    return buffer;
}

} // namespace

void PaintPage(Surface& surface, const TUserPage& page, const TUserObject* selected) {
    Surface buffer = drawnPage(page, nullptr);
    if (selected != nullptr)
        DrawSelectionMarks(buffer, Rect::FromSize(selected->left, selected->top, selected->width, selected->height));
    surface.Blit(buffer, 0, 0);
}

void PaintPanelPage(Surface& surface, const TUserPage& page, const PanelLook& look) {
    surface.Blit(drawnPage(page, &look), 0, 0);
}

void DrawObject(Surface& surface, const TUserPage& page, const TUserObject& object) {
    ObjectPainter painter(surface, layoutOf(page));
    object.Accept(painter);
}

void DrawLevelSlider(Surface& surface, std::int32_t imageId, const TLayout& layout, int left, int top, int width,
                     int height, int level) {
    drawLevelSlider(surface, imageId, layout, left, top, width, height, level);
}

void DrawSelectionMarks(Surface& surface, const Rect& rect) {
    const Coord l = Coord{rect.left} - 1;
    const Coord t = Coord{rect.top} - 1;
    const Coord r = Coord{rect.right} + 1;
    const Coord b = Coord{rect.bottom} + 1;
    const Pen dots{kBlack, Pen::kDotted};
    line(surface, l, t, r - 1, t, dots);
    line(surface, r - 1, t, r - 1, b - 1, dots);
    line(surface, r - 1, b - 1, l, b - 1, dots);
    line(surface, l, b - 1, l, t, dots);
    for (const auto& [cx, cy] : {std::pair{l, t}, std::pair{l, b}, std::pair{r, t}, std::pair{r, b}})
        surface.DrawRectangle(Rect::FromSize(cx - kHandleHalf, cy - kHandleHalf, 2 * kHandleHalf, 2 * kHandleHalf),
                              kBlack, kWhite);
}
