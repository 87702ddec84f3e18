#include "TImageEntry.h"

#include "CDataStore.h"

void TImageEntry::SetImage(std::unique_ptr<Picture> picture) {
    owned = std::move(picture);
    image = owned.get();
}

void TImageEntry::BorrowImage(const Picture* picture) {
    owned.reset();
    image = picture;
}

void TImageEntry::Serialize(CDataStore& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(id);
        ar.WriteString(description);
        ar.WriteInt(1);
        std::vector<std::uint8_t> png;
        if (image != nullptr && !image->IsEmpty())
            png = image->EncodePng();
        ar.WriteInt(static_cast<std::int32_t>(png.size()));
        ar.WriteBytes(png.data(), static_cast<std::int32_t>(png.size()));
        ar.WriteBytes(guid.data(), static_cast<std::int32_t>(guid.size()));
        return;
    }
    const std::int32_t version = ar.ReadInt();
    const std::int32_t newId = ar.ReadInt();
    std::u16string newDescription;
    ar.ReadString(newDescription);
    ar.Skip(4);
    const std::span<const std::uint8_t> png = ar.ReadBlock(ar.ReadInt());
    Guid newGuid{};
    if (version >= 2)
        ar.ReadBytes(newGuid.data(), static_cast<std::int32_t>(newGuid.size()));
    else
        newGuid = NewGuid();

    if (!png.empty()) {
        // An undecodable picture leaves the entry with an empty one; the entry itself stays.
        auto picture = std::make_unique<Picture>();
        try {
            picture->DecodePng(png);
        } catch (const PictureError&) {
            picture = std::make_unique<Picture>();
        }
        SetImage(std::move(picture));
    }
    id = newId;
    description = std::move(newDescription);
    guid = newGuid;
}
