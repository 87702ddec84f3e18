#include "link/Crc32.h"

#include <zlib.h>

// crc32() takes a 32-bit length; crc32_z() takes the whole span at once.
static_assert(sizeof(z_size_t) >= sizeof(std::size_t));

std::uint32_t Crc32(const std::uint8_t* data, std::size_t length) {
    return static_cast<std::uint32_t>(crc32_z(0L, data, length));
}
