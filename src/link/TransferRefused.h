#pragma once

#include <stdexcept>
#include <string>

// A transfer that cannot be carried out with what it was given (an empty firmware file, a
// layout image too large for the panel). Thrown before anything is sent; what() says why in
// words for the user.
class TransferRefused : public std::runtime_error {
public:
    explicit TransferRefused(const std::string& reason) : std::runtime_error(reason) {}
};
