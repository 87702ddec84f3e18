#pragma once

#include <cstddef>
#include <cstdint>

// IEEE 802.3 CRC-32 (reflected, polynomial 0xEDB88320, initial and final XOR 0xFFFFFFFF):
// the checksum the panel puts on every transfer block.
[[nodiscard]] std::uint32_t Crc32(const std::uint8_t* data, std::size_t length);
