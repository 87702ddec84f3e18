#pragma once

#include "Picture.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The two halves of Picture::LoadFile, apart so the decoding half can be driven from memory.

// The whole file; PictureError when it cannot be opened or read, is not a regular file (a FIFO or a
// device would block or never end) or is larger than an imported file may be, which is judged before
// anything is read.
std::vector<std::uint8_t> ReadImageFile(const std::string& path);

// Decodes the contents of a file called `name`: the format by signature, else the name's extension,
// else TGA. PictureError names `name` and the cause, also when memory runs out.
Picture DecodeImageFile(std::span<const std::uint8_t> bytes, const std::string& name);
