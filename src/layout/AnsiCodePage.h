#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Text in the panel's 8-bit code page (Windows-1252) and UTF-16, the model's own form.
// A character the code page cannot hold becomes '?'; a character outside the basic plane
// (a surrogate pair) becomes a single '?'.
std::string UnicodeToAnsi(std::u16string_view text);
std::u16string AnsiToUnicode(std::string_view bytes);

// Fixed NUL-terminated slots (event texts, labels). Stores the text's first characters that fit
// in at most `limit` bytes including the NUL, zero-fills the rest of those `limit` bytes and
// leaves slot bytes past `limit` as they are. Returns false when the text had to be cut.
bool StoreAnsiSlot(std::u16string_view text, std::span<std::uint8_t> slot, std::size_t limit);
inline bool StoreAnsiSlot(std::u16string_view text, std::span<std::uint8_t> slot) {
    return StoreAnsiSlot(text, slot, slot.size());
}
// The slot's text up to its first NUL, or all of it when there is none.
std::u16string LoadAnsiSlot(std::span<const std::uint8_t> slot);
