#pragma once

#include <cstdint>
#include <span>
#include <string>

// Writes the file through a temporary beside it and a rename, so a failed run never leaves half a
// file behind. Throws std::runtime_error naming the path and the cause.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
