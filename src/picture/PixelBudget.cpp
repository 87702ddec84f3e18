#include "PixelBudget.h"

#include "Picture.h"

#include <algorithm>

PixelBudget::PixelBudget(int maxSide, std::int64_t total)
    : maxSide(std::max(maxSide, 0)), remaining(std::max<std::int64_t>(total, 0)) {}

void PixelBudget::Take(const std::string& source, std::int64_t width, std::int64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width < 0 || height < 0 || width > maxSide || height > maxSide)
        throw PictureError(source + " is too large here: " + size + " (at most " + std::to_string(maxSide) +
                           " on a side)");
    if (width * height > remaining)
        throw PictureError(source + " is too large here: " + size + ", and only " + std::to_string(remaining) +
                           " pixels are left for the pictures read with it");
    remaining -= width * height;
}
