#pragma once

#include "sim/SimOptions.h"

#include <iosfwd>

// `zyl-panel-sim --show`: the simulator served from Qt's event loop, with a window of its screen.
// Returns the exit status: 0 when the window closes or a signal stops it, 1 when there is no
// display or the panel cannot be set up (the reason goes to `err`).
[[nodiscard]] int ShowSimulator(const SimOptions& options, int argc, char** argv, std::ostream& out, std::ostream& err);

// Whether a window can open: a display, or a Qt platform chosen by hand (offscreen, say).
[[nodiscard]] bool HasDisplay();
