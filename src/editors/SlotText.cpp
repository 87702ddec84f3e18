#include "editors/SlotText.h"

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
    const std::u16string wide = text.toStdU16String();
    // A text the user left alone stays whole, even past `limit` or without a NUL in the slot.
    if (LoadAnsiSlot(slot) == wide)
        return;
    std::string bytes = UnicodeToAnsi(wide);
    bytes.resize(std::min(bytes.size(), limit - 1));
    const bool same = std::equal(bytes.begin(), bytes.end(), slot.begin(),
                                 [](char b, std::uint8_t s) { return static_cast<std::uint8_t>(b) == s; }) &&
                      slot[bytes.size()] == 0;
    if (!same)
        (void)StoreAnsiSlot(wide, slot, limit);
}
