// The bytes a set of typical pictures takes in a layout: as pictures were written before the encoder
// chose the smallest form (8-bit RGB or RGBA, libpng's defaults), as Picture::EncodePng writes them
// now, and as `optipng -o2` writes the former, when optipng is installed. Every picture is made here
// or taken from the built-in library, so the figures are the same on every run. Also checks that
// each picture decodes to exactly its pixels and times its encoding. Prints one JSON object.
#include "layout/TLayout.h"
#include "picture/ImageFile.h"
#include "picture/PlainPng.h"

#include <Magick++.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct Sample {
    std::string name;
    std::string kind;
    Picture picture;
};

std::uint8_t clampByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Smooth value noise: a few octaves of a random lattice, bilinearly joined, in 0..1. Only the raw
// outputs of mt19937 are used, which the standard fixes.
class ValueNoise {
public:
    explicit ValueNoise(std::uint32_t seed) : random(seed) {
        for (auto& v : lattice)
            v = double(random() % 10000) / 9999.0;
    }
    double At(double x, double y) const {
        double sum = 0, weight = 0, amplitude = 1, scale = 1.0 / 64;
        for (int octave = 0; octave < 5; ++octave, amplitude /= 2, scale *= 2) {
            sum += amplitude * smooth(x * scale + octave * 17, y * scale + octave * 31);
            weight += amplitude;
        }
        return sum / weight;
    }
    std::mt19937 random;

private:
    static constexpr int kSide = 64;
    double cell(int x, int y) const {
        return lattice[std::size_t(((y % kSide) + kSide) % kSide * kSide + ((x % kSide) + kSide) % kSide)];
    }
    double smooth(double x, double y) const {
        const int ix = int(std::floor(x));
        const int iy = int(std::floor(y));
        const double fx = x - ix, fy = y - iy;
        const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
        const double top = cell(ix, iy) * (1 - sx) + cell(ix + 1, iy) * sx;
        const double bottom = cell(ix, iy + 1) * (1 - sx) + cell(ix + 1, iy + 1) * sx;
        return top * (1 - sy) + bottom * sy;
    }
    std::array<double, kSide * kSide> lattice{};
};

// A landscape-like photograph: sky gradient over smooth hills of colour, with sensor grain.
Picture photo(int width, int height) {
    ValueNoise noise(7);
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double n = noise.At(x, y);
            const double horizon = height * (0.35 + 0.2 * noise.At(x * 0.3, 500));
            const int grain = int(noise.random() % 5) - 2;
            Rgba c;
            if (y < horizon)
                c = {clampByte(90 + 60 * n + y * 0.3 + grain), clampByte(140 + 50 * n + y * 0.2 + grain),
                     clampByte(210 + 30 * n + grain), 255};
            else
                c = {clampByte(60 + 120 * n + grain), clampByte(90 + 110 * n * n + grain),
                     clampByte(40 + 50 * n + grain), 255};
            picture.SetPixel(x, y, c);
        }
    return picture;
}

void fill(Picture& p, int left, int top, int right, int bottom, Rgba c) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            p.SetPixel(x, y, c);
}

// Lines of "text": runs of dark strokes with a lighter anti-aliased edge, as small UI fonts show.
void textLine(Picture& p, int left, int top, int right, std::mt19937& random, Rgba ink, Rgba edge) {
    for (int x = left; x < right;) {
        const int word = 3 + int(random() % 7);
        for (int i = 0; i < word && x < right; ++i, x += 4) {
            const int h = 5 + int(random() % 3);
            fill(p, x, top + 8 - h, x + 2, top + 8, ink);
            fill(p, x + 2, top + 8 - h, x + 3, top + 8, edge);
        }
        x += 4;
    }
}

// A program's window at the panel's size: title bar gradient, flat panels, text, buttons.
Picture screenshot() {
    Picture p(320, 240);
    std::mt19937 random(11);
    fill(p, 0, 0, 320, 240, {236, 236, 236, 255});
    for (int y = 0; y < 22; ++y)
        fill(p, 0, y, 320, y + 1, {clampByte(40 + y * 3), clampByte(80 + y * 3), clampByte(160 + y * 2), 255});
    textLine(p, 8, 7, 140, random, {255, 255, 255, 255}, {170, 190, 220, 255});
    fill(p, 8, 30, 312, 200, {255, 255, 255, 255});
    for (int line = 0; line < 14; ++line)
        textLine(p, 14, 36 + line * 11, 140 + int(random() % 160), random, {30, 30, 30, 255}, {150, 150, 150, 255});
    for (int b = 0; b < 3; ++b) {
        const int left = 120 + b * 66;
        fill(p, left, 208, left + 60, 232, {120, 120, 120, 255});
        for (int y = 209; y < 231; ++y)
            fill(p, left + 1, y, left + 59, y + 1,
                 {clampByte(250 - (y - 209) * 2), clampByte(250 - (y - 209) * 2), clampByte(252 - (y - 209)), 255});
        textLine(p, left + 14, 216, left + 46, random, {20, 20, 20, 255}, {140, 140, 140, 255});
    }
    return p;
}

// Flat button art in three colours with clear corners, as drawn for a key.
Picture flatButton() {
    Picture p(96, 32);
    p.SetHasAlpha(true);
    fill(p, 0, 0, 96, 32, {0, 0, 0, 0});
    std::mt19937 random(5);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 96; ++x) {
            const int dx = std::max({4 - x, x - 91, 0});
            const int dy = std::max({4 - y, y - 27, 0});
            if (dx * dx + dy * dy <= 16)
                p.SetPixel(x, y,
                           dx * dx + dy * dy >= 9 || x == 0 || y == 0 || x == 95 || y == 31 ? Rgba{20, 60, 120, 255}
                                                                                            : Rgba{50, 110, 200, 255});
        }
    textLine(p, 28, 12, 70, random, {255, 255, 255, 255}, {255, 255, 255, 255});
    return p;
}

// The luminance of the photograph: a grey picture as a scanner gives it.
Picture grey(const Picture& colour) {
    Picture p(colour.Width(), colour.Height());
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) {
            const Rgba c = colour.GetPixel(x, y);
            const std::uint8_t v = clampByte(0.299 * c.r + 0.587 * c.g + 0.114 * c.b);
            p.SetPixel(x, y, {v, v, v, 255});
        }
    return p;
}

// A picture saved as a GIF of at most 64 colours by another program, loaded as Add Image loads it.
Picture paletteGif(const Picture& source) {
    Magick::Image image(unsigned(source.Width()), unsigned(source.Height()), "RGBA", Magick::CharPixel, source.Data());
    image.quantizeColors(64);
    image.quantizeDither(true);
    image.quantize();
    image.magick("GIF");
    Magick::Blob blob;
    image.write(&blob);
    const auto* data = static_cast<const std::uint8_t*>(blob.data());
    return DecodeImageFile(Bytes(data, data + blob.length()), "art.gif");
}

const Picture& builtin(const TLayout& layout, int id) {
    return *layout.FindImage(id)->Image();
}

std::vector<Sample> samples() {
    TLayout layout;
    Picture small = photo(160, 120);
    return {
        {"Return Icon (built-in)", "icon", builtin(layout, 10)},
        {"Cancel Icon (built-in)", "icon", builtin(layout, 11)},
        {"Blue Glow (built-in)", "button art", builtin(layout, 4)},
        {"flat key, 3 colours and clear", "button art", flatButton()},
        {"window screenshot", "screenshot", screenshot()},
        {"Main Background (built-in)", "background", builtin(layout, 1)},
        {"landscape photo", "photo", photo(320, 240)},
        {"photo saved as a dithered GIF", "paletted GIF", paletteGif(small)},
        {"grey photo", "grey", grey(photo(320, 240))},
    };
}

bool samePixels(const Picture& a, const Picture& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            Rgba pa = a.GetPixel(x, y), pb = b.GetPixel(x, y);
            if (!a.HasAlpha())
                pa.a = 255;
            if (!b.HasAlpha())
                pb.a = 255;
            if (!(pa == pb))
                return false;
        }
    return true;
}

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// CPU time, as the other benchmarks report it, so other work on the machine does not count.
double medianEncodeMs(const Picture& picture) {
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        const double start = cpuMs();
        (void)picture.EncodePng();
        times.push_back(cpuMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// optipng's size for the file, or -1 when optipng is not there.
long optipngSize(const Bytes& png, const fs::path& folder, const std::string& stem) {
    const fs::path in = folder / (stem + ".png");
    const fs::path out = folder / (stem + "-optipng.png");
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    const std::string command = "optipng -o2 -quiet -out '" + out.string() + "' '" + in.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0 || !fs::exists(out))
        return -1;
    return long(fs::file_size(out));
}

} // namespace

int main(int argc, char** argv) {
    Magick::InitializeMagick(nullptr);
    // --keep DIR leaves each picture there as now written, to look at.
    const fs::path keep = argc == 3 && std::string(argv[1]) == "--keep" ? fs::path(argv[2]) : fs::path();
    const fs::path folder = fs::temp_directory_path() / ("zyl-bench-png-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const bool haveOptipng = std::system("command -v optipng >/dev/null 2>&1") == 0;
    std::string json = "{\"optipng\": " + std::string(haveOptipng ? "true" : "false") + ", \"pictures\": [";
    bool allExact = true;
    int index = 0;
    for (const Sample& sample : samples()) {
        const Bytes before = EncodePlainPng(sample.picture);
        const Bytes now = sample.picture.EncodePng();
        Picture back;
        back.DecodePng(now);
        const bool exact = samePixels(back, sample.picture);
        allExact = allExact && exact;
        if (!keep.empty())
            std::ofstream(keep / ("p" + std::to_string(index) + ".png"), std::ios::binary)
                .write(reinterpret_cast<const char*>(now.data()), std::streamsize(now.size()));
        const long optimised = haveOptipng ? optipngSize(before, folder, "p" + std::to_string(index)) : -1;
        char line[512];
        std::snprintf(line, sizeof line,
                      "%s{\"name\": \"%s\", \"kind\": \"%s\", \"width\": %d, \"height\": %d, \"before\": %zu, "
                      "\"now\": %zu, \"optipng\": %ld, \"colour_type\": %d, \"bit_depth\": %d, \"encode_ms\": %.2f, "
                      "\"exact\": %s}",
                      index == 0 ? "" : ", ", sample.name.c_str(), sample.kind.c_str(), sample.picture.Width(),
                      sample.picture.Height(), before.size(), now.size(), optimised, int(now[25]), int(now[24]),
                      medianEncodeMs(sample.picture), exact ? "true" : "false");
        json += line;
        ++index;
    }
    json += "]}";
    fs::remove_all(folder);
    std::cout << json << std::endl;
    return allExact ? 0 : 1;
}
