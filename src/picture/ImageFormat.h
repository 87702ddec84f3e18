#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

enum class ImageFormat { Bmp, Gif, Ico, Jpeg, Pcx, Png, Tga, Tiff, Wbmp, Wmf, Jp2, J2k };

// The format the bytes announce by their signature; nothing for bytes without one (TGA, or not an
// image). WBMP, whose header is barely a signature, counts only when its size matches exactly.
std::optional<ImageFormat> DetectImageFormat(std::span<const std::uint8_t> bytes);

// The format a file name's extension names, if any (case-insensitive).
std::optional<ImageFormat> ImageFormatFromName(const std::string& path);

// The decoder's name for the format, as GraphicsMagick spells it.
const char* ImageFormatName(ImageFormat format);
