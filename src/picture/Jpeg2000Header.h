#pragma once

#include <cstdint>
#include <span>
#include <string>

// Judges what a JPEG 2000 file (JP2 boxes, or a bare codestream) asks of the decoder from the
// codestream's own headers, before OpenJPEG reads any of it: OpenJPEG sets up every tile as it reads
// the main header and every code-block of a tile before decoding it, so a few bytes could cost
// gigabytes even within the picture size limit. Throws PictureError naming the source and the limit
// passed; a codestream that cannot be found or parsed is refused as damaged.
void RequireJpeg2000WithinLimits(std::span<const std::uint8_t> bytes, bool boxed, const std::string& source);
