#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Fixed text slots (event texts, labels) in the text form. A slot is its text up to the first NUL,
// plus its tail: the bytes after that NUL up to the last non-zero one. Old files and the panel leave
// such bytes behind, and they travel with the layout, so the text form keeps them as hex.

// The tail as lower-case hex, empty when everything after the text is zero or the text fills the slot.
std::string SlotTailHex(std::span<const std::uint8_t> slot);

// Lower-case hex of the bytes, and back; nullopt for an odd count or a character that is no hex digit.
std::string HexOf(std::span<const std::uint8_t> bytes);
[[nodiscard]] std::optional<std::vector<std::uint8_t>> BytesFromHex(std::string_view hex);

// Writes the text in the panel's code page, a NUL, the tail and zeros to the end of the slot. False
// with the reason when a character has no place in the code page, the text holds a NUL, or text and
// tail do not fit. A text that fills the slot exactly is stored without a NUL, as the slot was read.
[[nodiscard]] bool FillSlot(std::u16string_view text, std::span<const std::uint8_t> tail, std::span<std::uint8_t> slot,
                            std::string& error);
