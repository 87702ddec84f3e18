#include "TUserImage.h"

#include "CDataStore.h"

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
