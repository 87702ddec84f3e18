#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Reads the whole file when it holds at most maxBytes; otherwise, or when it cannot be read,
// returns false with a message naming the file and the cause.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out, std::string* error);

// Writes the parts, one after the other, into a temporary file beside the target, flushes it to
// disk and renames it over the target, so the target is either the old file or the whole new one.
bool WriteFileAtomically(const std::string& path, std::span<const std::span<const std::uint8_t>> parts,
                         std::string* error);
