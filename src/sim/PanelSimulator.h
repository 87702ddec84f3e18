#pragma once

#include "sim/SimOptions.h"

#include <iosfwd>

// The zyl-panel-sim program: a panel on a pseudo-terminal, published for the tool's port list,
// serving until SIGINT, SIGTERM or SIGHUP. Standard input is not read.
class PanelSimulator {
public:
    explicit PanelSimulator(SimOptions options) : options(std::move(options)) {}

    // Prints the device path as the first line of `out` and serves. Returns the exit status:
    // 0 after a signal, 1 when the panel cannot be set up (the reason goes to `err`).
    [[nodiscard]] int Run(std::ostream& out, std::ostream& err);

private:
    SimOptions options;
};
