#pragma once

#include "Picture.h"

#include <cstdint>
#include <vector>

// The picture as 8-bit RGB (RGBA when it HasAlpha()) with libpng's default filters and compression:
// the form pictures were written in before Picture::EncodePng chose the smallest. The built-in
// library's block is packed with it, so regenerating the block gives the committed bytes.
std::vector<std::uint8_t> EncodePlainPng(const Picture& picture);
