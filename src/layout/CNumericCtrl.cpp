#include "CNumericCtrl.h"

#include "CDataStore.h"
#include "TConstListItemVisitor.h"
#include "TListItemVisitor.h"

CNumericCtrl::CNumericCtrl(TLayout* owner_, std::u16string name_) : TListItem(owner_, std::move(name_)) {
    kind = kNumeric;
}

void CNumericCtrl::Serialize(CDataStore& ar) {
    if (ar.IsStoring()) {
        TListItem::Serialize(ar);
        ar.WriteInt(kVersion);
        ar.WriteInt(backgroundColor);
        ar.WriteInt(primaryColor);
        ar.WriteInt(highlightColor);
        ar.WriteInt(textColor);
        for (const auto& line : textLines)
            ar.WriteString(line);
        return;
    }
    Common common = ReadCommon(ar);
    ar.Skip(4);
    const std::int32_t background = ar.ReadInt();
    const std::int32_t primary = ar.ReadInt();
    const std::int32_t highlight = ar.ReadInt();
    const std::int32_t text = ar.ReadInt();
    std::array<std::u16string, kTextLines> lines;
    for (auto& line : lines)
        ar.ReadString(line);
    Apply(std::move(common));
    backgroundColor = background;
    primaryColor = primary;
    highlightColor = highlight;
    textColor = text;
    textLines = std::move(lines);
}

void CNumericCtrl::Accept(TListItemVisitor& visitor) {
    visitor.Visit(*this);
}

void CNumericCtrl::Accept(TConstListItemVisitor& visitor) const {
    visitor.Visit(*this);
}
