#include "TUserHotspot.h"

#include "CDataStore.h"
#include "TConstUserObjectVisitor.h"
#include "TUserObjectVisitor.h"

void TUserHotspot::Serialize(CDataStore& ar) {
    TUserObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(targetPageId);
        ar.WriteInt(requirePin ? 1 : 0);
        ar.WriteString(pin);
        return;
    }
    const std::int32_t version = ar.ReadInt();
    const std::int32_t newTarget = ar.ReadInt();
    bool newRequirePin = false;
    std::u16string newPin;
    if (version >= 2) {
        newRequirePin = (ar.ReadInt() & 1) != 0;
        ar.ReadString(newPin);
    }
    targetPageId = newTarget;
    requirePin = newRequirePin;
    pin = std::move(newPin);
}

void TUserHotspot::Accept(TUserObjectVisitor& visitor) {
    visitor.Visit(*this);
}

void TUserHotspot::Accept(TConstUserObjectVisitor& visitor) const {
    visitor.Visit(*this);
}
