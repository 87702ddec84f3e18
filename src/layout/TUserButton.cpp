#include "TUserButton.h"

#include "CDataStore.h"
#include "TConstUserObjectVisitor.h"
#include "TUserObjectVisitor.h"

void TUserButton::Serialize(CDataStore& ar) {
    TUserObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        upFace.Serialize(ar);
        downFace.Serialize(ar);
        ar.WriteInt(selectorId);
        ar.WriteInt(reserved2);
        ar.WriteInt(toggle ? 1 : 0);
        ar.WriteBytes(downEvent.data(), static_cast<std::int32_t>(downEvent.size()));
        ar.WriteBytes(upEvent.data(), static_cast<std::int32_t>(upEvent.size()));
        ar.WriteInt(kCheckValue);
        ar.WriteInt(holdTime);
        ar.WriteInt(entryPageId);
        return;
    }
    constexpr auto oldBytes = static_cast<std::int32_t>(kOldEventBytes);
    const std::int32_t version = ar.ReadInt();
    TUserFace newUp;
    TUserFace newDown;
    newUp.Serialize(ar);
    newDown.Serialize(ar);
    const std::int32_t newSelector = ar.ReadInt();
    const std::int32_t newReserved = ar.ReadInt();
    const bool newToggle = (ar.ReadInt() & 1) != 0;
    auto newDownEvent = downEvent;
    auto newUpEvent = upEvent;
    if (version >= 3) {
        ar.ReadBytes(newDownEvent.data(), static_cast<std::int32_t>(newDownEvent.size()));
        ar.ReadBytes(newUpEvent.data(), static_cast<std::int32_t>(newUpEvent.size()));
    } else {
        ar.ReadBytes(newDownEvent.data(), oldBytes);
        if (version == 2)
            ar.ReadBytes(newUpEvent.data(), oldBytes);
        else
            std::fill_n(newUpEvent.begin(), kOldEventBytes, std::uint8_t{0});
    }
    std::int32_t newHold = 0;
    std::int32_t newEntry = -1;
    if (version >= 4) {
        const std::int32_t check = ar.ReadInt();
        newHold = ar.ReadInt();
        if (check != kCheckValue)
            newHold = 0;
        newEntry = ar.ReadInt();
    }
    upFace.CopyFrom(newUp);
    downFace.CopyFrom(newDown);
    selectorId = newSelector;
    reserved2 = newReserved;
    toggle = newToggle;
    downEvent = newDownEvent;
    upEvent = newUpEvent;
    holdTime = newHold;
    entryPageId = newEntry;
}

void TUserButton::Accept(TUserObjectVisitor& visitor) {
    visitor.Visit(*this);
}

void TUserButton::Accept(TConstUserObjectVisitor& visitor) const {
    visitor.Visit(*this);
}

// The down face first: a page file lists the images in this order.
void TUserButton::ForEachImageId(const ImageIdVisit& visit) const {
    downFace.ForEachImageId(visit);
    upFace.ForEachImageId(visit);
}

void TUserButton::ForEachImageReference(const ImageReferenceVisit& visit) {
    downFace.ForEachImageReference(visit);
    upFace.ForEachImageReference(visit);
}
