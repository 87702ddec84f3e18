#include "TUserFace.h"

#include "CDataStore.h"

void TUserFace::CopyFrom(const TUserFace& other) {
    kind = other.kind;
    value = other.value;
    color1 = other.color1;
    color2 = other.color2;
    textColor = other.textColor;
    text = other.text;
    textSize = other.textSize;
}

void TUserFace::ForEachImageId(const ImageIdVisit& visit) const {
    if (kind == kImage)
        visit(value);
}

void TUserFace::ForEachImageReference(const ImageReferenceVisit& visit) {
    if (kind == kImage)
        visit(TImageReference(value, importMark));
}

void TUserFace::Serialize(CDataStore& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(kind);
        ar.WriteInt(value);
        ar.WriteInt(color1);
        ar.WriteInt(color2);
        // Caption colour and size come before the caption on the stream.
        ar.WriteInt(textColor);
        ar.WriteInt(textSize);
        ar.WriteString(text);
        return;
    }
    const std::int32_t version = ar.ReadInt();
    std::int32_t newKind = ar.ReadInt();
    std::int32_t newValue = ar.ReadInt();
    std::int32_t newColor1 = ar.ReadInt();
    std::int32_t newColor2 = ar.ReadInt();
    std::int32_t newTextColor = 0;
    std::int32_t newTextSize = kMedium;
    std::u16string newText;
    if (version >= 3) {
        ar.ReadInt(newTextColor);
        ar.ReadInt(newTextSize);
    }
    if (version >= 2)
        ar.ReadString(newText);
    kind = newKind;
    value = newValue;
    color1 = newColor1;
    color2 = newColor2;
    textColor = newTextColor;
    textSize = newTextSize;
    text = std::move(newText);
}
