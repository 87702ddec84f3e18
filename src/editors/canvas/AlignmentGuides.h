#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class Surface;
class TUserObject;
class TUserPage;

// An object's rectangle in page pixels.
struct GuideBox {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool operator==(const GuideBox&) const = default;
};

// A line the selection lines up with: a column (vertical) or a row of the page.
struct Guide {
    bool vertical = true;
    std::int64_t at = 0;
    bool operator==(const Guide&) const = default;
};

struct SnapResult {
    // The shift of the edges the drag moves: for a move the whole box, for a corner its two edges.
    int dx = 0;
    int dy = 0;
    // What the snapped box lines up with.
    std::vector<Guide> guides;
};

// An edge or the centre of what a drag moves snaps onto an edge or the centre of another object,
// or onto the page's centre lines, when it lies this near.
constexpr int kSnapDistance = 4;

// The smallest shift, in each direction, that puts a moving edge or centre of `moving` onto a line
// of `others` or the page's centre, within kSnapDistance; `corner` is 0 for a move, else the
// corner handle being dragged (TUserObject's numbering), which moves only its own two edges. A
// shift the object's own limits would undo (an edge off the page, a side below one pixel) is not
// taken.
[[nodiscard]] SnapResult SnapToGuides(const GuideBox& moving, int corner, const std::vector<GuideBox>& others);

// Thin lines across the whole surface, which shows the page `zoom` times enlarged.
void DrawGuides(Surface& surface, const std::vector<Guide>& guides, int zoom);

// Snapping during one drag. The object shows the snapped place, but the drag's own steps go on from
// where the pointer alone would have it, so the object neither sticks to a guide nor drifts from
// the pointer.
class SnappedDrag {
public:
    // Before a drag step: back to the place without snapping, unless something else moved the
    // object since.
    void Unsnap(TUserObject& object);
    // After a drag step: remembers that place and, when `enabled`, nudges the object onto the
    // nearest guide among the page's other objects.
    void Snap(TUserObject& object, int corner, const TUserPage& page, bool enabled);
    void Clear();
    [[nodiscard]] const std::vector<Guide>& Guides() const { return guides; }

private:
    std::optional<GuideBox> unsnapped;
    GuideBox snapped;
    std::vector<Guide> guides;
};
