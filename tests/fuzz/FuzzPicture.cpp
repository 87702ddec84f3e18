// libFuzzer target for everything that reads untrusted picture bytes: PNG decoding and import by
// content. The last byte picks the file name's extension, so the name-based fallbacks get exercised too.
#include "picture/ImageFile.h"
#include "picture/Picture.h"
#include "picture/PictureLimits.h"
#include "picture/PixelBudget.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::array<const char*, 8> kNames = {"input",     "input.tga", "input.wbmp", "input.bmp",
                                               "input.pcx", "input.ico", "input.wmf",  "input.jp2"};

// A decoded picture must also survive everything the editors do with it next.
void exercise(const Picture& picture) {
    if (picture.IsEmpty() || std::int64_t{picture.Width()} * picture.Height() > 256 * 256)
        return;
    Picture copy = picture;
    (void)copy.EncodePng();
    copy.Resample(copy.Width() / 2 + 1, copy.Height() * 2 / 3 + 1);
    (void)copy.RotatedClockwise();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        // PNG data from outside is always decoded against a budget, as a layout's is.
        PixelBudget budget(kMaxImportSide, std::int64_t{kMaxImportSide} * kMaxImportSide);
        Picture picture;
        picture.DecodePng(bytes, &budget);
        exercise(picture);
    } catch (const PictureError&) {
    }
    try {
        const char* name = size == 0 ? kNames[0] : kNames[data[size - 1] % kNames.size()];
        exercise(DecodeImageFile(bytes, name));
    } catch (const PictureError&) {
    }
    return 0;
}
