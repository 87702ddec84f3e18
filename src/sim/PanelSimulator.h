#pragma once

#include "sim/SimOptions.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <vector>

// The zyl-panel-sim program: a panel on a pseudo-terminal, published for the tool's port list,
// serving until SIGINT, SIGTERM or SIGHUP. Standard input is not read.
class PanelSimulator {
public:
    explicit PanelSimulator(SimOptions options);
    ~PanelSimulator();
    PanelSimulator(const PanelSimulator&) = delete;
    PanelSimulator& operator=(const PanelSimulator&) = delete;

    // Prints the device path as the first line of `out` and serves. Returns the exit status:
    // 0 after a signal, 1 when the panel cannot be set up (the reason goes to `err`).
    [[nodiscard]] int Run(std::ostream& out, std::ostream& err);

    // The same in steps, for a program with an event loop of its own: Start sets the panel up and
    // prints the device path (false, with the reason on `err`, when it cannot); then Serve each
    // time one of Fds() can be read or Due() has passed. Serve waits at most `timeout` (null:
    // until something happens) and returns false once a signal has asked the panel to stop. Both
    // throw std::system_error when the pseudo-terminal fails.
    [[nodiscard]] bool Start(std::ostream& out, std::ostream& err);
    [[nodiscard]] std::vector<int> Fds() const;
    // How long until the line has bytes to deliver, in nanoseconds from now; nullopt when nothing waits.
    [[nodiscard]] std::optional<std::int64_t> Due() const;
    [[nodiscard]] bool Serve(const timespec* timeout);

    // Told of the layout image the panel holds once Start has it, then of each one it stores.
    std::function<void(const std::vector<std::uint8_t>&)> onLayout;

private:
    struct Running;
    SimOptions options;
    std::unique_ptr<Running> running;
};
