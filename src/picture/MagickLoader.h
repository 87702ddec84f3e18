#pragma once

#include "ImageFormat.h"
#include "Picture.h"

#include <cstdint>
#include <span>
#include <string>

// Decodes bytes of the given format with GraphicsMagick. Only the first frame of an animation or a
// multi-page file is read; of an icon file, the largest icon. Throws PictureError naming the source.
Picture DecodeWithMagick(std::span<const std::uint8_t> bytes, ImageFormat format, const std::string& source);
