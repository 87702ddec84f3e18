// libFuzzer target for the layout's readers of untrusted bytes: the layout image as it comes from
// the panel, template files and user-page files. The first byte picks the reader.
#include "layout/TLayout.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    TLayout layout;
    switch (data[0] % 3) {
    case 0:
        // What decodes must encode again and decode to the same thing.
        if (layout.Decode(bytes)) {
            auto image = layout.Encode(TLayout::kUploadCapacity);
            if (image && !layout.Decode(*image))
                __builtin_trap();
        }
        break;
    case 1:
        (void)layout.LoadTemplateBytes(bytes, "input");
        break;
    default: {
        TUserPage page(&layout, u"target");
        (void)layout.LoadPageBytes(page, bytes, "input");
        break;
    }
    }
    return 0;
}
