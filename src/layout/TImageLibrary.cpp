#include "TImageLibrary.h"

#include "CDataStore.h"
#include "DecodeError.h"
#include "picture/PlainPng.h"

namespace {

constexpr std::int32_t kStyleVersion = 2;
constexpr std::int32_t kStringVersion = 1;
constexpr std::int32_t kImageVersion = 1;

// A list goes on while the marker is 1; a block that ends where a marker should be ends it too.
bool nextInList(CDataStore& ar) {
    return ar.Remaining() >= 4 && ar.ReadInt() == 1;
}

std::unique_ptr<TLibraryStyle> readStyle(CDataStore& ar) {
    auto style = std::make_unique<TLibraryStyle>();
    const std::int32_t version = ar.ReadInt();
    style->id = ar.ReadInt();
    style->kind = ar.ReadInt();
    for (int i = 0; i < 3; ++i)
        style->b[static_cast<std::size_t>(i)] = ar.ReadByte();
    style->b[3] = version >= 2 ? ar.ReadByte() : 0;
    for (int i = 4; i < 7; ++i)
        style->b[static_cast<std::size_t>(i)] = ar.ReadByte();
    return style;
}

std::unique_ptr<TLibraryString> readString(CDataStore& ar) {
    auto text = std::make_unique<TLibraryString>();
    ar.Skip(4);
    text->id = ar.ReadInt();
    ar.ReadString(text->text);
    return text;
}

std::unique_ptr<TLibraryImage> readImage(CDataStore& ar) {
    auto image = std::make_unique<TLibraryImage>();
    ar.Skip(4);
    image->id = ar.ReadInt();
    image->reserved1 = ar.ReadInt();
    image->reserved2 = ar.ReadInt();
    const std::int32_t format = ar.ReadInt();
    const std::span<const std::uint8_t> data = ar.ReadBlock(ar.ReadInt());
    if (format == TLibraryImage::kFormatPng && !data.empty()) {
        auto picture = std::make_unique<Picture>();
        try {
            picture->DecodePng(data);
            image->image = std::move(picture);
        } catch (const PictureError&) {
            // Kept without pixels: the ID still stands for an image, it just draws nothing.
        }
    }
    return image;
}

} // namespace

void TImageLibrary::Read(std::span<const std::uint8_t> block) {
    CDataStore ar(block);
    try {
        if (ar.Remaining() < 8 || ar.ReadInt() != kMagic)
            return;
        ar.Skip(4);
        while (nextInList(ar))
            styles.insert(styles.begin(), readStyle(ar));
        while (nextInList(ar))
            texts.insert(texts.begin(), readString(ar));
        while (nextInList(ar))
            images.insert(images.begin(), readImage(ar));
        while (nextInList(ar)) {
            auto glyph = std::make_unique<TGlyph>();
            glyph->Serialize(ar);
            glyphs.insert(glyphs.begin(), std::move(glyph));
        }
    } catch (const DecodeError&) {
        // A damaged record ends the block; the records read whole so far stay.
    }
}

std::vector<std::uint8_t> TImageLibrary::Write() const {
    CDataStore ar;
    ar.WriteInt(kMagic);
    ar.WriteInt(kVersion);
    for (auto it = styles.rbegin(); it != styles.rend(); ++it) {
        const TLibraryStyle& style = **it;
        ar.WriteInt(1);
        ar.WriteInt(kStyleVersion);
        ar.WriteInt(style.id);
        ar.WriteInt(style.kind);
        ar.WriteBytes(style.b.data(), static_cast<std::int32_t>(style.b.size()));
    }
    ar.WriteInt(0);
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
        ar.WriteInt(1);
        ar.WriteInt(kStringVersion);
        ar.WriteInt((*it)->id);
        ar.WriteString((*it)->text);
    }
    ar.WriteInt(0);
    for (auto it = images.rbegin(); it != images.rend(); ++it) {
        const TLibraryImage& image = **it;
        std::vector<std::uint8_t> png;
        if (image.image && !image.image->IsEmpty())
            png = EncodePlainPng(*image.image);
        ar.WriteInt(1);
        ar.WriteInt(kImageVersion);
        ar.WriteInt(image.id);
        ar.WriteInt(image.reserved1);
        ar.WriteInt(image.reserved2);
        ar.WriteInt(TLibraryImage::kFormatPng);
        ar.WriteInt(static_cast<std::int32_t>(png.size()));
        ar.WriteBytes(png.data(), static_cast<std::int32_t>(png.size()));
    }
    ar.WriteInt(0);
    for (auto it = glyphs.rbegin(); it != glyphs.rend(); ++it) {
        ar.WriteInt(1);
        (*it)->Serialize(ar);
    }
    ar.WriteInt(0);
    const auto result = ar.Result();
    return {result.begin(), result.end()};
}

const TGlyph* TImageLibrary::FindGlyph(std::int32_t sizeKey, std::int32_t code) const {
    for (const auto& glyph : glyphs) {
        if (glyph->sizeKey == sizeKey && glyph->code == code)
            return glyph.get();
    }
    return nullptr;
}
