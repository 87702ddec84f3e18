#include "TImageEntry.h"

#include "CDataStore.h"
#include "picture/PixelBudget.h"

PixelBudget TImageEntry::LayoutBudget() {
    return PixelBudget(kMaxSide, kPixelsPerLayout);
}

void TImageEntry::SetImage(std::unique_ptr<Picture> picture) {
    owned = std::move(picture);
    image = owned.get();
    keptPng.clear();
}

void TImageEntry::BorrowImage(const Picture* picture) {
    owned.reset();
    image = picture;
    keptPng.clear();
}

void TImageEntry::Serialize(CDataStore& ar, PixelBudget* budget) {
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(id);
        ar.WriteString(description);
        ar.WriteInt(1);
        std::vector<std::uint8_t> png;
        if (image != nullptr && !image->IsEmpty())
            png = image->EncodePng();
        else
            png = keptPng;
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
        // An undecodable picture leaves the entry with an empty one and its bytes kept; the entry stays.
        PixelBudget own = LayoutBudget();
        auto picture = std::make_unique<Picture>();
        std::vector<std::uint8_t> kept;
        try {
            picture->DecodePng(png, budget != nullptr ? budget : &own);
        } catch (const PictureError&) {
            picture = std::make_unique<Picture>();
            kept.assign(png.begin(), png.end());
        }
        SetImage(std::move(picture));
        keptPng = std::move(kept);
    }
    id = newId;
    description = std::move(newDescription);
    guid = newGuid;
}
