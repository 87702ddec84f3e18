#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
// UTF-8 to UTF-16, characters past the basic plane as surrogate pairs; nullopt when the bytes are
// not well-formed UTF-8 (overlong forms and encoded surrogates included).
[[nodiscard]] std::optional<std::u16string> FromUtf8(std::string_view text);
// The text with each byte that is not part of well-formed UTF-8, and each control character, shown
// as \xFF, so a message that quotes raw input sends no stray byte to the terminal.
std::string EscapeForTerminal(std::string_view text);
