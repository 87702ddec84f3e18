#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Payloads whose every position differs from its neighbours, so a misplaced block shows.
inline std::string TestBytes(std::size_t length) {
    std::string bytes(length, '\0');
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

inline std::span<const std::uint8_t> AsSpan(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}
