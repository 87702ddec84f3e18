#pragma once

#include "Picture.h"

#include <cstdint>
#include <span>
#include <string>

// Decodes a JPEG 2000 file (JP2 boxes) or a bare codestream (J2K) with OpenJPEG into RGBA.
// Grey, grey + alpha, RGB, RGB + alpha and sYCC are understood. Throws PictureError naming the source.
Picture DecodeJpeg2000(std::span<const std::uint8_t> bytes, bool boxed, const std::string& source);
