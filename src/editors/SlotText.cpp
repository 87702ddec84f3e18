#include "SlotText.h"

#include "layout/AnsiCodePage.h"

#include <algorithm>
#include <string>

QString LoadSlotText(std::span<const std::uint8_t> slot) {
    return QString::fromStdU16String(LoadAnsiSlot(slot));
}

void StoreSlotText(const QString& text, std::span<std::uint8_t> slot, std::size_t limit) {
    limit = std::min(limit, slot.size());
    if (limit == 0)
        return;
    std::string bytes = UnicodeToAnsi(text.toStdU16String());
    bytes.resize(std::min(bytes.size(), limit - 1));
    const bool same = std::equal(bytes.begin(), bytes.end(), slot.begin(),
                                 [](char b, std::uint8_t s) { return static_cast<std::uint8_t>(b) == s; }) &&
                      slot[bytes.size()] == 0;
    if (same)
        return;
    std::fill(std::copy(bytes.begin(), bytes.end(), slot.begin()), slot.begin() + static_cast<std::ptrdiff_t>(limit),
              std::uint8_t{0});
}
