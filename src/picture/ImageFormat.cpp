#include "ImageFormat.h"

#include "base/LittleEndian.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

// An icon directory: reserved 0, type 1 (icon) or 2 (cursor), at least one entry, and room for the
// entries it claims.
bool looksLikeIcon(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 6 || GetLittleEndian16(bytes, 0) != 0)
        return false;
    const std::uint16_t type = GetLittleEndian16(bytes, 2);
    const std::uint16_t count = GetLittleEndian16(bytes, 4);
    return (type == 1 || type == 2) && count > 0 && bytes.size() >= 6 + std::size_t{count} * 16;
}

// ZSoft header: manufacturer 10, a known version, RLE or none, and a sane bit depth.
bool looksLikePcx(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 128 || bytes[0] != 0x0A)
        return false;
    const std::uint8_t version = bytes[1];
    const std::uint8_t encoding = bytes[2];
    const std::uint8_t bits = bytes[3];
    return (version == 0 || version == 2 || version == 3 || version == 4 || version == 5) && encoding <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

// Windows metafile: the placeable header's key, or a plain header (memory or disk type, nine words).
bool looksLikeWmf(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, {0xD7, 0xCD, 0xC6, 0x9A}))
        return true;
    if (bytes.size() < 18)
        return false;
    const std::uint16_t type = GetLittleEndian16(bytes, 0);
    const std::uint16_t headerWords = GetLittleEndian16(bytes, 2);
    const std::uint16_t version = GetLittleEndian16(bytes, 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

// WBMP type 0 has no real signature, so the size must add up exactly: two zero bytes, width and height
// as multi-byte integers, then one bit per pixel with rows padded to bytes.
bool looksLikeWbmp(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4 || bytes[0] != 0 || bytes[1] != 0)
        return false;
    std::size_t at = 2;
    auto readNumber = [&](std::uint64_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (at >= bytes.size())
                return false;
            const std::uint8_t b = bytes[at++];
            value = value << 7 | (b & 0x7F);
            if ((b & 0x80) == 0)
                return true;
        }
        return false;
    };
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    if (!readNumber(width) || !readNumber(height) || width == 0 || height == 0)
        return false;
    return bytes.size() - at == (width + 7) / 8 * height;
}

std::string lowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

std::optional<ImageFormat> DetectImageFormat(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return ImageFormat::Png;
    if (startsWith(bytes, {0xFF, 0xD8, 0xFF}))
        return ImageFormat::Jpeg;
    if (startsWith(bytes, {'G', 'I', 'F', '8', '7', 'a'}) || startsWith(bytes, {'G', 'I', 'F', '8', '9', 'a'}))
        return ImageFormat::Gif;
    if (startsWith(bytes, {'B', 'M'}) && bytes.size() >= 14)
        return ImageFormat::Bmp;
    if (startsWith(bytes, {'I', 'I', 42, 0}) || startsWith(bytes, {'M', 'M', 0, 42}) ||
        startsWith(bytes, {'I', 'I', 43, 0}) || startsWith(bytes, {'M', 'M', 0, 43}))
        return ImageFormat::Tiff;
    if (startsWith(bytes, {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A}))
        return ImageFormat::Jp2;
    if (startsWith(bytes, {0xFF, 0x4F, 0xFF, 0x51}))
        return ImageFormat::J2k;
    if (looksLikeIcon(bytes))
        return ImageFormat::Ico;
    if (looksLikeWmf(bytes))
        return ImageFormat::Wmf;
    if (looksLikePcx(bytes))
        return ImageFormat::Pcx;
    if (looksLikeWbmp(bytes))
        return ImageFormat::Wbmp;
    return std::nullopt;
}

std::optional<ImageFormat> ImageFormatFromName(const std::string& path) {
    struct Entry {
        const char* extension;
        ImageFormat format;
    };
    static constexpr std::array<Entry, 20> kExtensions = {{
        {".bmp", ImageFormat::Bmp},   {".dib", ImageFormat::Bmp},   {".gif", ImageFormat::Gif},
        {".ico", ImageFormat::Ico},   {".cur", ImageFormat::Ico},   {".jpg", ImageFormat::Jpeg},
        {".jpeg", ImageFormat::Jpeg}, {".jpe", ImageFormat::Jpeg},  {".pcx", ImageFormat::Pcx},
        {".png", ImageFormat::Png},   {".tga", ImageFormat::Tga},   {".tif", ImageFormat::Tiff},
        {".tiff", ImageFormat::Tiff}, {".wbmp", ImageFormat::Wbmp}, {".wmf", ImageFormat::Wmf},
        {".jp2", ImageFormat::Jp2},   {".j2k", ImageFormat::J2k},   {".j2c", ImageFormat::J2k},
        {".jpc", ImageFormat::J2k},   {".icb", ImageFormat::Tga},
    }};
    const std::string ext = lowerExtension(path);
    for (const Entry& entry : kExtensions)
        if (ext == entry.extension)
            return entry.format;
    return std::nullopt;
}

const char* ImageFormatName(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return "BMP";
    case ImageFormat::Gif:
        return "GIF";
    case ImageFormat::Ico:
        return "ICO";
    case ImageFormat::Jpeg:
        return "JPEG";
    case ImageFormat::Pcx:
        return "PCX";
    case ImageFormat::Png:
        return "PNG";
    case ImageFormat::Tga:
        return "TGA";
    case ImageFormat::Tiff:
        return "TIFF";
    case ImageFormat::Wbmp:
        return "WBMP";
    case ImageFormat::Wmf:
        return "WMF";
    case ImageFormat::Jp2:
        return "JP2";
    case ImageFormat::J2k:
        return "J2K";
    }
    return "?";
}
