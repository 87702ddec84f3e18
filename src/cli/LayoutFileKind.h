#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What a file handed to zylctl holds, by its leading magic number alone.
enum class LayoutFileKind { Template, Page, Neither };

[[nodiscard]] LayoutFileKind KindOfLayoutFile(std::span<const std::uint8_t> bytes);

// The complaint about a file of neither kind; `name` is the file's quoted name.
std::string NeitherLayoutFileMessage(const std::string& name);

// Reads a template or user page file whole, up to the size its kind may have; refuses a file of
// neither kind, or one larger than its kind holds, naming that limit.
[[nodiscard]] bool ReadLayoutFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error);
