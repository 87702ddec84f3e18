#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian integers, byte by byte: everything on the wire and in files is stored this way,
// whatever the host's order. Callers check that the bytes are there.

[[nodiscard]] constexpr std::uint16_t GetLittleEndian16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

[[nodiscard]] constexpr std::uint32_t GetLittleEndian32(const std::uint8_t* at) {
    return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

[[nodiscard]] constexpr std::uint16_t GetLittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return GetLittleEndian16(bytes.data() + at);
}

[[nodiscard]] constexpr std::uint32_t GetLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return GetLittleEndian32(bytes.data() + at);
}

constexpr void PutLittleEndian16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr void PutLittleEndian32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
