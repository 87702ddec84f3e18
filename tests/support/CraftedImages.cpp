#include "CraftedImages.h"

#include "layout/CDataStore.h"
#include "layout/TUserImage.h"
#include "picture/PixelBudget.h"

#include <zlib.h>

#include <stdexcept>

namespace {

void pushBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void pushChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    pushBe32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    pushBe32(out, static_cast<std::uint32_t>(crc));
}

void pushLe32(std::vector<std::uint8_t>& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(u >> shift));
}

} // namespace

std::vector<std::uint8_t> BlackPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header;
    pushBe32(header, width);
    pushBe32(header, height);
    header.insert(header.end(), {1, 0, 0, 0, 0}); // 1-bit grey, no interlace
    pushChunk(out, "IHDR", header);

    // Each row: filter byte 0, then width bits of 0.
    const std::vector<std::uint8_t> raw(std::size_t{height} * (1 + (std::size_t{width} + 7) / 8), 0);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        throw std::runtime_error("cannot compress the PNG rows");
    packed.resize(packedSize);
    pushChunk(out, "IDAT", packed);
    pushChunk(out, "IEND", {});
    return out;
}

std::int32_t AddKeptImage(TLayout& layout, TUserPage& page, const std::vector<std::uint8_t>& png) {
    const std::int32_t id = layout.NextImageId();
    std::vector<std::uint8_t> record;
    pushLe32(record, TImageEntry::kVersion);
    pushLe32(record, id);
    pushLe32(record, 4); // description "kept"
    for (char c : std::string("kept")) {
        record.push_back(static_cast<std::uint8_t>(c));
        record.push_back(0);
    }
    pushLe32(record, 1);
    pushLe32(record, static_cast<std::int32_t>(png.size()));
    record.insert(record.end(), png.begin(), png.end());
    const Guid guid = NewGuid();
    record.insert(record.end(), guid.begin(), guid.end());

    auto entry = std::make_unique<TImageEntry>();
    PixelBudget nothing(0, 0);
    CDataStore ar(record);
    entry->Serialize(ar, &nothing);
    layout.images.insert(layout.images.begin(), std::move(entry));

    auto object = std::make_unique<TUserImage>();
    object->face.kind = TUserFace::kImage;
    object->face.value = id;
    page.AddObject(std::move(object));
    return id;
}
