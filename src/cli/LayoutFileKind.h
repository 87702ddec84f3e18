#pragma once

#include <cstdint>
#include <span>
#include <string>

// What a file handed to zylctl holds, by its leading magic number alone.
enum class LayoutFileKind { Template, Page, Neither };

[[nodiscard]] LayoutFileKind KindOfLayoutFile(std::span<const std::uint8_t> bytes);

// The complaint about a file of neither kind; `name` is the file's quoted name.
std::string NeitherLayoutFileMessage(const std::string& name);
