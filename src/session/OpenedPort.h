#pragma once

#include "link/SerialIo.h"

// A port the session has opened: at 9600 bits per second, reads returning at once, held by this
// program alone. Destroying it closes the device and gives the line settings back.
class OpenedPort : public SerialIo {};
