#include "TUserLevel.h"

#include "CDataStore.h"
#include "TConstUserObjectVisitor.h"
#include "TUserObjectVisitor.h"

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

void TUserLevel::Accept(TUserObjectVisitor& visitor) {
    visitor.Visit(*this);
}

void TUserLevel::Accept(TConstUserObjectVisitor& visitor) const {
    visitor.Visit(*this);
}

// The slider image is a reference whatever its ID, built-in ones included.
void TUserLevel::ForEachImageId(const ImageIdVisit& visit) const {
    visit(sliderImageId);
}

void TUserLevel::ForEachImageReference(const ImageReferenceVisit& visit) {
    visit(TImageReference(sliderImageId, importMark));
}
