#pragma once

#include "link/SteadyLinkClock.h"
#include "session/PortFactory.h"

// The machine's serial devices (CSerialPort) and its steady clock.
class SystemPortFactory : public PortFactory {
public:
    std::unique_ptr<OpenedPort> Open(const std::string& device) override;
    LinkClock& Clock() override { return clock; }

private:
    SteadyLinkClock clock;
};
