#include "editors/canvas/AlignmentGuides.h"

#include "layout/TUserObject.h"
#include "layout/TUserPage.h"
#include "render/Surface.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr Argb kGuideColor = MakeArgb(255, 0, 255);

// What a drag does to one direction of the box: moves it whole, or moves its near or far edge.
enum class Moves { kWhole, kNear, kFar };

// One direction of a box: its near edge and its extent.
struct Span {
    std::int64_t start;
    std::int64_t size;
    std::int64_t Centre() const { return start + size / 2; }
    std::int64_t End() const { return start + size; }
};

std::vector<std::int64_t> movingLines(const Span& span, Moves moves) {
    switch (moves) {
    case Moves::kWhole:
        return {span.start, span.Centre(), span.End()};
    case Moves::kNear:
        return {span.start};
    default:
        return {span.End()};
    }
}

// Whether the object's own limits keep a shift of `d` as it is.
bool keeps(const Span& span, Moves moves, std::int64_t d, int pageExtent) {
    const bool startOnPage = span.start + d >= 0 && span.start + d < pageExtent;
    switch (moves) {
    case Moves::kWhole:
        return startOnPage;
    case Moves::kNear:
        return startOnPage && span.size - d >= 1;
    default:
        return span.size + d >= 1;
    }
}

// The nearest snap in one direction and the lines the result meets.
int snapSpan(const Span& span, Moves moves, const std::vector<std::int64_t>& targets, int pageExtent, bool vertical,
             std::vector<Guide>& guides) {
    std::int64_t best = 0;
    bool found = false;
    for (const std::int64_t line : movingLines(span, moves))
        for (const std::int64_t target : targets) {
            const std::int64_t d = target - line;
            if (std::llabs(d) <= kSnapDistance && (!found || std::llabs(d) < std::llabs(best)) &&
                keeps(span, moves, d, pageExtent)) {
                best = d;
                found = true;
            }
        }
    Span snapped = span;
    if (moves == Moves::kFar)
        snapped.size += best;
    else {
        snapped.start += best;
        if (moves == Moves::kNear)
            snapped.size -= best;
    }
    for (const std::int64_t line : movingLines(snapped, moves)) {
        const Guide guide{vertical, line};
        if (std::find(targets.begin(), targets.end(), line) != targets.end() &&
            std::find(guides.begin(), guides.end(), guide) == guides.end())
            guides.push_back(guide);
    }
    return static_cast<int>(best);
}

GuideBox boxOf(const TUserObject& object) {
    return {object.left, object.top, object.width, object.height};
}

} // namespace

SnapResult SnapToGuides(const GuideBox& moving, int corner, const std::vector<GuideBox>& others) {
    Moves across = Moves::kWhole;
    Moves down = Moves::kWhole;
    if (corner != TUserObject::kNoCorner) {
        across = corner == TUserObject::kTopLeft || corner == TUserObject::kBottomLeft ? Moves::kNear : Moves::kFar;
        down = corner == TUserObject::kTopLeft || corner == TUserObject::kTopRight ? Moves::kNear : Moves::kFar;
    }
    std::vector<std::int64_t> columns{TUserObject::kPageWidth / 2};
    std::vector<std::int64_t> rows{TUserObject::kPageHeight / 2};
    for (const GuideBox& other : others) {
        const Span x{other.left, other.width};
        const Span y{other.top, other.height};
        columns.insert(columns.end(), {x.start, x.Centre(), x.End()});
        rows.insert(rows.end(), {y.start, y.Centre(), y.End()});
    }
    SnapResult result;
    result.dx = snapSpan({moving.left, moving.width}, across, columns, TUserObject::kPageWidth, true, result.guides);
    result.dy = snapSpan({moving.top, moving.height}, down, rows, TUserObject::kPageHeight, false, result.guides);
    return result;
}

void DrawGuides(Surface& surface, const std::vector<Guide>& guides, int zoom) {
    for (const Guide& guide : guides) {
        // A line on the page's far edge is drawn on its last pixel, so it still shows.
        const int extent = guide.vertical ? surface.Width() : surface.Height();
        const auto at = static_cast<int>(std::clamp<std::int64_t>(guide.at * zoom, -1, extent - 1));
        if (guide.vertical)
            surface.FillRect({at, 0, at + 1, surface.Height()}, kGuideColor);
        else
            surface.FillRect({0, at, surface.Width(), at + 1}, kGuideColor);
    }
}

void SnappedDrag::Unsnap(TUserObject& object) {
    if (unsnapped && boxOf(object) == snapped) {
        object.left = static_cast<std::int32_t>(unsnapped->left);
        object.top = static_cast<std::int32_t>(unsnapped->top);
        object.width = static_cast<std::int32_t>(unsnapped->width);
        object.height = static_cast<std::int32_t>(unsnapped->height);
    }
    unsnapped.reset();
}

void SnappedDrag::Snap(TUserObject& object, int corner, const TUserPage& page, bool enabled) {
    guides.clear();
    unsnapped = boxOf(object);
    if (enabled) {
        std::vector<GuideBox> others;
        for (const auto& other : page.objects)
            if (other.get() != &object)
                others.push_back(boxOf(*other));
        SnapResult snap = SnapToGuides(*unsnapped, corner, others);
        if (corner == TUserObject::kNoCorner)
            object.MoveBy(snap.dx, snap.dy);
        else
            object.ResizeByCorner(corner, snap.dx, snap.dy);
        guides = std::move(snap.guides);
    }
    snapped = boxOf(object);
}

void SnappedDrag::Clear() {
    unsnapped.reset();
    guides.clear();
}
