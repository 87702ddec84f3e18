#include "link/CSerialException.h"

#include <cerrno>
#include <cstring>

namespace {

// glibc answers "Unknown error N" for numbers it has no text for; strerrordesc_np tells them apart.
const char* SystemText(std::uint32_t code) {
    if (code == 0 || code > 0x7FFFFFFFU)
        return nullptr;
    return ::strerrordesc_np(static_cast<int>(code));
}

std::string DefaultMessage(std::uint32_t code) {
    const char* text = SystemText(code);
    if (text != nullptr)
        return text;
    return "Serial port error " + std::to_string(code);
}

} // namespace

CSerialException::CSerialException(std::uint32_t code) : CSerialException(code, DefaultMessage(code)) {}

CSerialException::CSerialException(std::uint32_t code, const std::string& message)
    : std::runtime_error(message), errorCode(code) {}

CSerialException::~CSerialException() = default;

bool CSerialException::GetErrorMessage(std::string& text) const {
    const char* system = SystemText(errorCode);
    text = system != nullptr ? system : "";
    return system != nullptr;
}

bool CSerialException::GetErrorMessage(char* buffer, std::size_t capacity, unsigned* helpContext) const {
    if (helpContext != nullptr)
        *helpContext = 0;
    std::string text;
    const bool found = GetErrorMessage(text);
    if (buffer != nullptr && capacity > 0) {
        const std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return found;
}

void ThrowSerialException(std::uint32_t code) {
    if (code == 0)
        code = static_cast<std::uint32_t>(errno);
    throw CSerialException(code);
}
