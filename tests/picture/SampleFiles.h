#pragma once

#include "TempDir.h"

#include "picture/Picture.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A small picture with distinct colours in each quadrant and a few single odd pixels, so a decoder
// that swaps channels, flips rows or shifts columns is caught. With alpha, one corner is transparent
// and one pixel half-transparent.
Picture MakePattern(int width, int height, bool alpha);
// Black and white only, for one-bit formats.
Picture MakeBilevelPattern(int width, int height);

// `picture` written by GraphicsMagick's own writer for `format` ("BMP", "GIF", "TGA", ...), as a
// palette picture or interlaced when asked.
Bytes WriteWithMagick(const Picture& picture, const std::string& format, bool palette = false, bool interlaced = false);

// Several pictures in one file (frames of an animation, pages of a TIFF).
Bytes WriteFramesWithMagick(const std::vector<Picture>& frames, const std::string& format);

// `picture` encoded by OpenJPEG: a JP2 file or a bare codestream; lossless unless `rate` > 0.
Bytes EncodeJpeg2000(const Picture& picture, bool boxed, float rate = 0.0f);

// A PNG exactly as described, put together chunk by chunk: any colour type and depth, optional
// palette, optional tRNS. `samples` holds one value per channel, row by row.
struct PngContents {
    int width = 0;
    int height = 0;
    int colourType = 0;
    int bitDepth = 8;
    std::vector<std::uint16_t> samples;
    std::vector<Rgba> palette;             // colour type 3: the colours (alpha used for tRNS)
    std::vector<std::uint16_t> trnsColour; // colour types 0 and 2: the transparent value(s)
};
Bytes WritePng(const PngContents& contents);

// An icon directory entry with its image: `payload` is a PNG file or a DIB (BITMAPINFOHEADER, colour
// rows, AND mask).
struct IconEntry {
    int width = 0;
    int height = 0;
    int bitCount = 32;
    Bytes payload;
};
Bytes MakeIcon(const std::vector<IconEntry>& entries);
// A 32-bit DIB as icons store it: height doubled, rows bottom-up, then a one-bit AND mask where
// transparent pixels are set.
Bytes MakeIconDib(const Picture& picture);

// A Windows metafile drawn by hand: placeable header, a left red and a right blue rectangle filling a
// `width` × `height` frame at one unit per pixel.
Bytes MakeTwoColourMetafile(int width, int height);

// PNG and BMP headers that declare a huge picture but hold almost nothing.
Bytes MakeHugePngHeader(std::uint32_t width, std::uint32_t height);
Bytes MakeHugeBmpHeader(std::int32_t width, std::int32_t height);


// Largest difference of any channel between two pictures of the same size (255 when sizes differ).
int MaxChannelDifference(const Picture& a, const Picture& b);
