#pragma once

#include "layout/TImageLibrary.h"
#include "picture/Picture.h"

// One picture of everything in a library block: a sample page built from the art, every image
// at 1×, the button faces stretched as frames, the slider both ways up, and the glyphs of every
// size light on dark and dark on light.
Picture MakeContactSheet(const TImageLibrary& library);
