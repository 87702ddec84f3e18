#pragma once

#include "TListItem.h"

#include <array>
#include <cstdint>
#include <string>

// The numeric keypad page a user-page button can open: four colours and up to four text lines.
class CNumericCtrl : public TListItem {
public:
    static constexpr std::int32_t kVersion = 1;
    static constexpr int kTextLines = 4;

    CNumericCtrl(TLayout* owner, std::u16string name);

    void Serialize(CDataStore& ar) override;
    void Accept(TListItemVisitor& visitor) override;
    void Accept(TConstListItemVisitor& visitor) const override;

    // Colours as 0x00BBGGRR; a new page starts black throughout.
    std::int32_t backgroundColor = 0;
    std::int32_t primaryColor = 0;
    std::int32_t highlightColor = 0;
    std::int32_t textColor = 0;
    std::array<std::u16string, kTextLines> textLines;
};
