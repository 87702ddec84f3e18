#pragma once

#include "picture/Picture.h"

// The page background, 320 × 240, opaque: a dark slate panel, lit softly from above.
Picture MakeMainBackground();
