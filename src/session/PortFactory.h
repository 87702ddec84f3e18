#pragma once

#include "session/OpenedPort.h"

#include <memory>
#include <string>

class LinkClock;

// Where a Session gets its ports and the clock its waits are measured with. The default one
// opens the machine's serial devices; tests hand in an in-memory panel and virtual time.
class PortFactory {
public:
    virtual ~PortFactory() = default;

    // Opens `device` ready for the link; raises CSerialException naming the cause and the cure.
    virtual std::unique_ptr<OpenedPort> Open(const std::string& device) = 0;
    virtual LinkClock& Clock() = 0;
};
