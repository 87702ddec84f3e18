#include "PictureLimits.h"

#include "Picture.h"

namespace {

#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
// Under the fuzzer a legitimate 1 GiB picture would read as a memory fault; the checks stay the same,
// only the budget shrinks.
constexpr std::int64_t kPixelBudget = std::int64_t{4096} * 4096;
#else
constexpr std::int64_t kPixelBudget = Picture::kMaxPixels;
#endif

} // namespace

bool FitsPictureLimits(std::int64_t width, std::int64_t height) {
    return width >= 0 && height >= 0 && width <= Picture::kMaxSide && height <= Picture::kMaxSide &&
           width * height <= kPixelBudget;
}

void RequirePictureSize(const std::string& source, std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0)
        throw PictureError(DamagedMessage(source, "it declares an empty picture"));
    if (!FitsPictureLimits(width, height))
        throw PictureError(TooLargeMessage(source, width, height));
}

void RequireImportSize(const std::string& source, std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0)
        throw PictureError(DamagedMessage(source, "it declares an empty picture"));
    if (width > kMaxImportSide || height > kMaxImportSide)
        throw PictureError(source + " is too large: " + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels (at most " + std::to_string(kMaxImportSide) + " x " +
                           std::to_string(kMaxImportSide) + ")");
}

void RequireImportFileSize(const std::string& source, std::uint64_t bytes) {
    if (bytes > kMaxImportFileBytes)
        throw PictureError(source + " is too large: " + std::to_string(bytes) + " bytes (at most " +
                           std::to_string(kMaxImportFileBytes) + ")");
}

std::string DamagedMessage(const std::string& source, const std::string& reason) {
    return source + " is damaged or truncated: " + reason;
}

std::string TooLargeMessage(const std::string& source, std::int64_t width, std::int64_t height) {
    return source + " is too large: " + std::to_string(width) + " x " + std::to_string(height) + " pixels (at most " +
           std::to_string(Picture::kMaxSide) + " on a side and " + std::to_string(kPixelBudget) + " in all)";
}

std::string OutOfMemoryMessage(const std::string& source) {
    return source + " cannot be loaded: there is not enough memory";
}
