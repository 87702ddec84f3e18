#include "TGlyph.h"

#include "CDataStore.h"

#include <algorithm>

int TGlyph::Level(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    const std::size_t index = static_cast<std::size_t>(y * RowBytes() + x / 4);
    if (index >= bits.size())
        return 0;
    return (bits[index] >> (2 * (3 - x % 4))) & 3;
}

void TGlyph::SetLevel(int x, int y, int level) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    bits.resize(static_cast<std::size_t>(RowBytes() * height));
    const int shift = 2 * (3 - x % 4);
    auto& byte = bits[static_cast<std::size_t>(y * RowBytes() + x / 4)];
    byte = static_cast<std::uint8_t>((byte & ~(3 << shift)) | (level & 3) << shift);
}

void TGlyph::Serialize(CDataStore& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteInt(sizeKey);
        ar.WriteInt(code);
        ar.WriteByte(width);
        ar.WriteByte(height);
        ar.WriteByte(static_cast<std::uint8_t>(left));
        ar.WriteByte(static_cast<std::uint8_t>(top));
        ar.WriteByte(advance);
        // The bitmap is always exactly its declared size on the stream.
        std::vector<std::uint8_t> out(static_cast<std::size_t>(RowBytes() * height), 0);
        std::copy_n(bits.begin(), std::min(bits.size(), out.size()), out.begin());
        ar.WriteBytes(out.data(), static_cast<std::int32_t>(out.size()));
        return;
    }
    ar.Skip(4);
    const std::int32_t newSize = ar.ReadInt();
    const std::int32_t newCode = ar.ReadInt();
    const std::uint8_t newWidth = ar.ReadByte();
    const std::uint8_t newHeight = ar.ReadByte();
    const auto newLeft = static_cast<std::int8_t>(ar.ReadByte());
    const auto newTop = static_cast<std::int8_t>(ar.ReadByte());
    const std::uint8_t newAdvance = ar.ReadByte();
    std::vector<std::uint8_t> newBits(static_cast<std::size_t>(RowBytes(newWidth) * newHeight));
    ar.ReadBytes(newBits.data(), static_cast<std::int32_t>(newBits.size()));
    sizeKey = newSize;
    code = newCode;
    width = newWidth;
    height = newHeight;
    left = newLeft;
    top = newTop;
    advance = newAdvance;
    bits = std::move(newBits);
}
