#pragma once

#include "Argb.h"

// A one-pixel pen. A dotted pen paints every other pixel of a line, starting with its first, and
// leaves the pixels between the dots as they were.
struct Pen {
    enum Style { kSolid, kDotted };

    Argb color = kBlack;
    Style style = kSolid;
};
