#pragma once

#include "Rect.h"
#include "Surface.h"
#include "picture/Picture.h"

#include <algorithm>

// What face and page drawing share inside this folder. Positions are worked out in 64 bits so
// that rectangles from a damaged file cannot overflow.

using Coord = long long;

// The i of 0 <= i < count for which start + i lies on [0, extent): pieces drawn for other i would
// fall off the surface, so loops over stretched pieces walk only these.
struct IndexRange {
    Coord first;
    Coord end;
};
inline IndexRange VisibleIndices(Coord start, Coord count, Coord extent) {
    return {std::max<Coord>(0, -start), std::min<Coord>(count, extent - start)};
}

// The width x height block of the picture from (srcX, srcY), drawn at (x, y).
inline void DrawPicturePart(Surface& surface, const Picture& picture, Coord x, Coord y, Coord width, Coord height,
                            Coord srcX, Coord srcY) {
    if (width <= 0 || height <= 0)
        return;
    surface.DrawPicture(picture, ToCoordinate(x - srcX), ToCoordinate(y - srcY), Rect::FromSize(x, y, width, height));
}
