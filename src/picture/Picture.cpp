#include "Picture.h"

#include "ImageFile.h"
#include "PictureLimits.h"

#include <algorithm>

Picture::Picture(int width, int height) {
    if (!FitsPictureLimits(width, height))
        throw PictureError("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels cannot be made");
    this->width = width;
    this->height = height;
    pixels.resize(std::size_t(width) * std::size_t(height) * 4);
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
}

Rgba Picture::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return Rgba{};
    const std::uint8_t* p = pixels.data() + (std::size_t(y) * width + x) * 4;
    return Rgba{p[0], p[1], p[2], p[3]};
}

void Picture::SetPixel(int x, int y, Rgba color) {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    std::uint8_t* p = pixels.data() + (std::size_t(y) * width + x) * 4;
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
    p[3] = color.a;
}

void Picture::LoadFile(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadImageFile(path);
    *this = DecodeImageFile(bytes, path);
}

Picture Picture::RotatedClockwise() const {
    Picture turned;
    turned.width = height;
    turned.height = width;
    turned.hasAlpha = hasAlpha;
    turned.palette = palette;
    turned.pixels.resize(pixels.size());
    // Source (x, y) lands at (height - 1 - y, x): the top row becomes the rightmost column.
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = pixels.data() + std::size_t(y) * width * 4;
        const int column = height - 1 - y;
        for (int x = 0; x < width; ++x, from += 4) {
            std::uint8_t* to = turned.pixels.data() + (std::size_t(x) * turned.width + column) * 4;
            std::copy_n(from, 4, to);
        }
    }
    return turned;
}
