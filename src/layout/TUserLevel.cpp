#include "TUserLevel.h"

#include "CDataStore.h"

void TUserLevel::Serialize(CDataStore& ar) {
    TUserObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(controlId);
        ar.WriteInt(sliderImageId);
        return;
    }
    ar.Skip(4);
    const std::int32_t newControl = ar.ReadInt();
    const std::int32_t newImage = ar.ReadInt();
    controlId = newControl;
    sliderImageId = newImage;
}
