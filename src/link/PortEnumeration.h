#pragma once

#include "link/PortDirectory.h"

#include <string>
#include <vector>

// One port the user can choose: the device to open and the name a person recognises.
struct PortEntry {
    std::string device; // "/dev/ttyUSB0", "/dev/pts/5"
    std::string label;  // "ttyUSB0 — FT232R USB UART", "ZYL-1 simulator (/dev/pts/5)"
};

// Where EnumeratePorts looks; tests point these at a made-up tree.
struct PortSearchRoots {
    std::string devRoot = "/dev";
    std::string sysRoot = "/sys";
    std::string simulatorDirectory = SimulatorPortDirectory();
};

// The serial ports of this machine: /dev/ttyS* that are real UARTs (the serial core's UART
// type, or TIOCGSERIAL where sysfs does not say), /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyAMA*,
// then the ports running simulators publish (entries of ended simulators or vanished devices
// are skipped). Nothing is held open; a port another program holds is still listed.
// Real ports come in the order ttyS, ttyUSB, ttyACM, ttyAMA, each by number.
std::vector<PortEntry> EnumeratePorts(const PortSearchRoots& roots = PortSearchRoots{});
