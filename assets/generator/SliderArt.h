#pragma once

#include "picture/Picture.h"

// The slider composite, 46 × 76 with alpha: an upright strip whose rows 0–14 are the top end,
// row 15 the track above the knob, rows 16–59 the knob, rows 60–61 the track below it and rows
// 61–75 the bottom end. Rows 14, 15, 60 and 61 are the same plain track, because a lying slider
// takes its track from rows 60 and 14 and its knob from rows 14–59.
Picture MakeSliderComposite();

namespace slider_art {
constexpr int kWidth = 46;
constexpr int kHeight = 76;
constexpr int kKnobFirstRow = 16;
constexpr int kKnobLastRow = 59;
} // namespace slider_art
