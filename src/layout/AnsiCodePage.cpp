#include "AnsiCodePage.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// 0x80..0x9F. The five unassigned bytes map to the C1 control of the same value, as the
// platform's own converter does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

char toAnsi(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    const auto* hit = std::find(kHigh.begin(), kHigh.end(), c);
    if (hit != kHigh.end())
        return static_cast<char>(0x80 + (hit - kHigh.begin()));
    return '?';
}

} // namespace

std::string UnicodeToAnsi(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
            ++i; // one character, one replacement
        out.push_back(toAnsi(c));
    }
    return out;
}

std::u16string AnsiToUnicode(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        out.push_back(u >= 0x80 && u < 0xA0 ? kHigh[u - 0x80] : static_cast<char16_t>(u));
    }
    return out;
}

bool StoreAnsiSlot(std::u16string_view text, std::span<std::uint8_t> slot, std::size_t limit) {
    limit = std::min(limit, slot.size());
    if (limit == 0)
        return text.empty();
    // One byte per character in this code page, so any cut is at a character boundary.
    const std::string bytes = UnicodeToAnsi(text);
    const std::size_t n = std::min(bytes.size(), limit - 1);
    std::memcpy(slot.data(), bytes.data(), n);
    std::fill(slot.begin() + static_cast<std::ptrdiff_t>(n), slot.begin() + static_cast<std::ptrdiff_t>(limit), 0);
    return n == bytes.size();
}

std::u16string LoadAnsiSlot(std::span<const std::uint8_t> slot) {
    if (slot.empty())
        return {};
    const auto* begin = reinterpret_cast<const char*>(slot.data());
    const auto* nul = static_cast<const char*>(std::memchr(begin, 0, slot.size()));
    const std::size_t n = nul != nullptr ? static_cast<std::size_t>(nul - begin) : slot.size();
    return AnsiToUnicode(std::string_view(begin, n));
}
