#pragma once

#include "render/Surface.h"

#include <string>

// Compares the surface, pixel for pixel, with golden/NAME.png. With ZYL_UPDATE_GOLDEN=1 in the
// environment it writes the golden instead; a mismatch leaves the drawn picture beside the tests
// (golden-actual/NAME.png in the build folder) for a look.
void ExpectMatchesGolden(const Surface& surface, const std::string& name);
