#pragma once

#include "TListItem.h"

#include <array>
#include <cstdint>

// A page of eight buttons, each with a label and the event text the panel sends when it is touched.
class CBtn8Ctrl : public TListItem {
public:
    static constexpr std::int32_t kVersion = 1;
    static constexpr int kButtons = 8;
    static constexpr std::size_t kSlotBytes = 80;
    using Slot = std::array<std::uint8_t, kSlotBytes>;

    CBtn8Ctrl(TLayout* owner, std::u16string name);

    void Serialize(CDataStore& ar) override;
    void Accept(TListItemVisitor& visitor) override;
    void Accept(TConstListItemVisitor& visitor) const override;

    // NUL-terminated text in the panel's code page.
    std::array<Slot, kButtons> buttonEvents{};
    std::array<Slot, kButtons> buttonLabels{};
};
