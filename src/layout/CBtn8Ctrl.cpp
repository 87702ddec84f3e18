#include "CBtn8Ctrl.h"

#include "CDataStore.h"
#include "TConstListItemVisitor.h"
#include "TListItemVisitor.h"

CBtn8Ctrl::CBtn8Ctrl(TLayout* owner_, std::u16string name_) : TListItem(owner_, std::move(name_)) {
    kind = kBtn8;
}

void CBtn8Ctrl::Serialize(CDataStore& ar) {
    constexpr auto n = static_cast<std::int32_t>(kSlotBytes);
    if (ar.IsStoring()) {
        TListItem::Serialize(ar);
        ar.WriteInt(kVersion);
        // Event text and label alternate, button by button.
        for (int i = 0; i < kButtons; ++i) {
            ar.WriteBytes(buttonEvents[i].data(), n);
            ar.WriteBytes(buttonLabels[i].data(), n);
        }
        return;
    }
    Common common = ReadCommon(ar);
    ar.Skip(4);
    std::array<Slot, kButtons> events{};
    std::array<Slot, kButtons> labels{};
    for (int i = 0; i < kButtons; ++i) {
        ar.ReadBytes(events[i].data(), n);
        ar.ReadBytes(labels[i].data(), n);
    }
    Apply(std::move(common));
    buttonEvents = events;
    buttonLabels = labels;
}

void CBtn8Ctrl::Accept(TListItemVisitor& visitor) {
    visitor.Visit(*this);
}

void CBtn8Ctrl::Accept(TConstListItemVisitor& visitor) const {
    visitor.Visit(*this);
}
