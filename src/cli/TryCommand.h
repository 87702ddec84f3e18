#pragma once

#include "ZylctlCommand.h"

// `zylctl try`: a layout run on the panel model with touches and waits given on the command line,
// printing what the panel did and writing its final screen.
[[nodiscard]] CommandRun DefineTryCommand(CLI::App& command);
