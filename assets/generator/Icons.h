#pragma once

#include "picture/Picture.h"

// A return arrow that turns back on itself, 27 × 27 with alpha: light with a dark outline, so it
// reads on light and dark faces alike.
Picture MakeReturnIcon();
// A cancel cross on a red key, 33 × 25 with alpha.
Picture MakeCancelIcon();
