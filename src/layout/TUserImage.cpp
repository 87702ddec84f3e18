#include "TUserImage.h"

#include "CDataStore.h"
#include "TConstUserObjectVisitor.h"
#include "TUserObjectVisitor.h"

void TUserImage::Serialize(CDataStore& ar) {
    TUserObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        face.Serialize(ar);
        return;
    }
    ar.Skip(4);
    face.Serialize(ar);
}

void TUserImage::Accept(TUserObjectVisitor& visitor) {
    visitor.Visit(*this);
}

void TUserImage::Accept(TConstUserObjectVisitor& visitor) const {
    visitor.Visit(*this);
}

void TUserImage::ForEachImageId(const ImageIdVisit& visit) const {
    face.ForEachImageId(visit);
}

void TUserImage::ForEachImageReference(const ImageReferenceVisit& visit) {
    face.ForEachImageReference(visit);
}
