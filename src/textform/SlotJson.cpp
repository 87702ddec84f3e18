#include "SlotJson.h"

#include "layout/AnsiCodePage.h"

#include <algorithm>
#include <cstdio>

std::string SlotTailHex(std::span<const std::uint8_t> slot) {
    const auto nul = std::find(slot.begin(), slot.end(), std::uint8_t{0});
    if (nul == slot.end())
        return {};
    const auto begin = nul + 1;
    auto end = slot.end();
    while (end != begin && *(end - 1) == 0)
        --end;
    return HexOf({begin, end});
}

std::string HexOf(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 15]);
    }
    return out;
}

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::vector<std::uint8_t>> BytesFromHex(std::string_view hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return out;
}

bool FillSlot(std::u16string_view text, std::span<const std::uint8_t> tail, std::span<std::uint8_t> slot,
              std::string& error) {
    const std::string bytes = UnicodeToAnsi(text);
    // The code page is one byte per character, so a character it lacks shows as a difference here.
    const std::u16string back = AnsiToUnicode(bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i >= back.size() || back[i] != text[i]) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(text[i]));
            error = std::string("character ") + code + " has no place in the panel's code page (Windows-1252)";
            return false;
        }
        if (text[i] == 0) {
            error = "a NUL character would end the text early";
            return false;
        }
    }
    const std::size_t needed = bytes.size() + (tail.empty() ? 0 : 1 + tail.size());
    if (needed > slot.size()) {
        error = "takes " + std::to_string(needed) + " bytes" + (tail.empty() ? "" : " with its tail") +
                "; the slot holds " + std::to_string(slot.size());
        return false;
    }
    std::fill(slot.begin(), slot.end(), std::uint8_t{0});
    std::copy(bytes.begin(), bytes.end(), slot.begin());
    if (!tail.empty())
        std::copy(tail.begin(), tail.end(), slot.begin() + static_cast<std::ptrdiff_t>(bytes.size() + 1));
    return true;
}
