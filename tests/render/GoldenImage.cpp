#include "GoldenImage.h"

#include "layout/FileIo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <span>
#include <sstream>

namespace {

bool updating() {
    const char* value = std::getenv("ZYL_UPDATE_GOLDEN");
    return value != nullptr && std::string(value) == "1";
}

bool writePng(const std::string& path, const std::vector<std::uint8_t>& png, std::string* error) {
    const std::span<const std::uint8_t> parts[] = {png};
    return WriteFileAtomically(path, parts, error);
}

} // namespace

void ExpectMatchesGolden(const Surface& surface, const std::string& name) {
    const std::string goldenPath = std::string(ZYL_GOLDEN_DIR) + "/" + name + ".png";
    const std::vector<std::uint8_t> png = surface.EncodePng();
    std::string error;
    if (updating()) {
        EXPECT_TRUE(writePng(goldenPath, png, &error)) << error;
        std::cout << "wrote " << goldenPath << '\n';
        return;
    }

    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(goldenPath, 16u << 20, bytes, &error)) {
        ADD_FAILURE() << error << " (make it with ZYL_UPDATE_GOLDEN=1)";
        return;
    }
    Picture golden;
    golden.DecodePng(bytes);
    const Picture actual = surface.ToPicture();

    std::ostringstream differences;
    int count = 0;
    if (golden.Width() != actual.Width() || golden.Height() != actual.Height()) {
        differences << "size " << actual.Width() << " x " << actual.Height() << ", golden " << golden.Width() << " x "
                    << golden.Height();
        count = 1;
    } else {
        for (int y = 0; y < actual.Height(); ++y) {
            for (int x = 0; x < actual.Width(); ++x) {
                const Rgba a = actual.GetPixel(x, y);
                const Rgba g = golden.GetPixel(x, y);
                if (a.r == g.r && a.g == g.g && a.b == g.b)
                    continue;
                if (count++ == 0)
                    differences << "first at (" << x << ", " << y << "): drawn " << int(a.r) << "," << int(a.g) << ","
                                << int(a.b) << ", golden " << int(g.r) << "," << int(g.g) << "," << int(g.b);
            }
        }
    }
    if (count == 0)
        return;
    const std::filesystem::path actualDir = ZYL_GOLDEN_ACTUAL_DIR;
    std::filesystem::create_directories(actualDir);
    const std::string actualPath = (actualDir / (name + ".png")).string();
    writePng(actualPath, png, nullptr);
    ADD_FAILURE() << name << ": " << count << " pixels differ from the golden; " << differences.str() << "; drawn as "
                  << actualPath;
}
