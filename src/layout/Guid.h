#pragma once

#include <array>
#include <cstdint>
#include <string>

// 128 bits that identify an image across layouts and page files.
using Guid = std::array<std::uint8_t, 16>;

// 128 random bits from the operating system.
Guid NewGuid();
// 32 lower-case hex digits, bytes in stored order.
std::string GuidToHex(const Guid& guid);
