#include "TImageEntry.h"

#include "CDataStore.h"
#include "picture/PixelBudget.h"

PixelBudget TImageEntry::LayoutBudget() {
    return PixelBudget(kMaxSide, kPixelsPerLayout);
}

void TImageEntry::SetImage(std::unique_ptr<Picture> picture) {
    owned = std::move(picture);
    image = owned.get();
    png.clear();
}

void TImageEntry::BorrowImage(const Picture* picture) {
    owned.reset();
    image = picture;
    png.clear();
}

const std::vector<std::uint8_t>& TImageEntry::KeptPng() const {
    static const std::vector<std::uint8_t> none;
    return image != nullptr && !image->IsEmpty() ? none : png;
}

std::vector<std::uint8_t> TImageEntry::Png() const {
    if (png.empty() && image != nullptr && !image->IsEmpty())
        return image->EncodePng();
    return png;
}

void TImageEntry::Serialize(CDataStore& ar, PixelBudget* budget) {
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(id);
        ar.WriteString(description);
        ar.WriteInt(1);
        // Encoding picks the smallest of many trials, so it is done once and kept.
        if (png.empty())
            png = Png();
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
    const std::span<const std::uint8_t> stored = ar.ReadBlock(ar.ReadInt());
    Guid newGuid{};
    if (version >= 2)
        ar.ReadBytes(newGuid.data(), static_cast<std::int32_t>(newGuid.size()));
    else
        newGuid = NewGuid();

    if (!stored.empty()) {
        // An undecodable picture leaves the entry with an empty one and its bytes kept; the entry stays.
        PixelBudget own = LayoutBudget();
        auto picture = std::make_unique<Picture>();
        try {
            picture->DecodePng(stored, budget != nullptr ? budget : &own);
        } catch (const PictureError&) {
            picture = std::make_unique<Picture>();
        }
        std::vector<std::uint8_t> kept(stored.begin(), stored.end());
        SetImage(std::move(picture));
        png = std::move(kept);
    }
    id = newId;
    description = std::move(newDescription);
    guid = newGuid;
}
