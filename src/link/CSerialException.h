#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

// A failed serial-port operation. errorCode is the system's error number (errno); what() is a
// sentence for the user that names the device, the cause and, for opening errors, the cure.
class CSerialException : public std::runtime_error {
public:
    explicit CSerialException(std::uint32_t code);
    CSerialException(std::uint32_t code, const std::string& message);
    ~CSerialException() override;

    // The system's text for errorCode. False, with the text emptied, for a code the system has
    // no text for.
    virtual bool GetErrorMessage(std::string& text) const;
    // The same into a caller's buffer of `capacity` characters, cut to fit and zero-terminated.
    bool GetErrorMessage(char* buffer, std::size_t capacity, unsigned* helpContext = nullptr) const;

    std::uint32_t errorCode;
};

// Raises CSerialException with `code`; a code of 0 stands for the thread's last error (errno).
[[noreturn]] void ThrowSerialException(std::uint32_t code = 0);
