#pragma once

#include <stdexcept>
#include <string>

// Raised while reading a record when the bytes cannot be what they claim to be:
// the data ends early, a count is negative or too large, a kind is unknown.
// Public load operations catch it at their edge and report the image as invalid.
class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const std::string& what) : std::runtime_error(what) {}
};
