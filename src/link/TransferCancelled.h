#pragma once

#include <stdexcept>

// The user stopped a transfer. By the time this is thrown the panel and the port have been
// returned to 9600 bits per second where that was possible.
class TransferCancelled : public std::runtime_error {
public:
    TransferCancelled() : std::runtime_error("Transfer cancelled") {}
};
