#include "Picture.h"
#include "PictureLimits.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// Keys' cubic with a = -0.5 (Catmull-Rom): sharp, and exact on linear ramps.
float cubic(float x) {
    constexpr float a = -0.5f;
    x = std::fabs(x);
    if (x < 1.0f)
        return ((a + 2.0f) * x - (a + 3.0f)) * x * x + 1.0f;
    if (x < 2.0f)
        return ((a * x - 5.0f * a) * x + 8.0f * a) * x - 4.0f * a;
    return 0.0f;
}

// For each target sample along one axis: the source samples it draws on and their weights.
struct Taps {
    std::vector<std::size_t> start; // per target, into index and weight; one extra entry closes the last
    std::vector<int> index;
    std::vector<float> weight;
};

// Beyond the edge the picture continues as its mirror image (about the edge sample), which keeps the
// level of flat areas and the rhythm of fine patterns right up to the border.
int mirror(int j, int size) {
    if (size == 1)
        return 0;
    const int period = 2 * (size - 1);
    j %= period;
    if (j < 0)
        j += period;
    return j < size ? j : period - j;
}

Taps makeTaps(int sourceSize, int targetSize) {
    const double scale = double(sourceSize) / targetSize;
    // Shrinking widens the kernel by the scale, so every source sample contributes and a fine pattern
    // averages out instead of aliasing.
    const double stretch = std::max(scale, 1.0);
    const double support = 2.0 * stretch;
    Taps taps;
    for (int i = 0; i < targetSize; ++i) {
        taps.start.push_back(taps.index.size());
        const double centre = (i + 0.5) * scale;
        const int lo = int(std::floor(centre - support));
        const int hi = int(std::ceil(centre + support));
        double sum = 0.0;
        for (int j = lo; j <= hi; ++j) {
            const float w = cubic(float((j + 0.5 - centre) / stretch));
            if (w == 0.0f)
                continue;
            taps.index.push_back(mirror(j, sourceSize));
            taps.weight.push_back(w);
            sum += w;
        }
        for (std::size_t k = taps.start.back(); k < taps.weight.size(); ++k)
            taps.weight[k] = float(taps.weight[k] / sum);
    }
    taps.start.push_back(taps.index.size());
    return taps;
}

std::uint8_t toByte(float v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Colours are compared premultiplied, so every fully transparent colour is the same and a clear
// pixel finds the palette's clear entry rather than the one of the same hue.
struct Premultiplied {
    int r, g, b, a;
    explicit Premultiplied(Rgba c) : r(c.r * c.a / 255), g(c.g * c.a / 255), b(c.b * c.a / 255), a(c.a) {}
    int DistanceTo(const Premultiplied& o) const {
        return (r - o.r) * (r - o.r) + (g - o.g) * (g - o.g) + (b - o.b) * (b - o.b) + (a - o.a) * (a - o.a);
    }
};

// Resampled pixels repeat a lot (flat areas, greys), so each colour is looked up once.
void mapToPalette(std::vector<std::uint8_t>& pixels, const std::vector<Rgba>& palette) {
    std::vector<Premultiplied> entries;
    entries.reserve(palette.size());
    for (const Rgba& c : palette)
        entries.emplace_back(c);
    std::unordered_map<std::uint32_t, Rgba> nearest;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        const Rgba pixel{pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
        const std::uint32_t key = std::uint32_t{pixel.r} | std::uint32_t{pixel.g} << 8 | std::uint32_t{pixel.b} << 16 |
                                  std::uint32_t{pixel.a} << 24;
        auto found = nearest.find(key);
        if (found == nearest.end()) {
            const Premultiplied p(pixel);
            std::size_t best = 0;
            for (std::size_t k = 1; k < entries.size(); ++k)
                if (p.DistanceTo(entries[k]) < p.DistanceTo(entries[best]))
                    best = k;
            found = nearest.emplace(key, palette[best]).first;
        }
        const Rgba c = found->second;
        pixels[i] = c.r;
        pixels[i + 1] = c.g;
        pixels[i + 2] = c.b;
        pixels[i + 3] = c.a;
    }
}

} // namespace

void Picture::Resample(int newWidth, int newHeight) {
    if (newWidth <= 0 || newHeight <= 0 || (newWidth == width && newHeight == height))
        return;
    if (!FitsPictureLimits(newWidth, newHeight))
        throw PictureError("a picture cannot be resampled to " + std::to_string(newWidth) + " x " +
                           std::to_string(newHeight) + " pixels");
    if (IsEmpty())
        throw PictureError("an empty picture cannot be resampled");

    const Taps across = makeTaps(width, newWidth);
    const Taps down = makeTaps(height, newHeight);

    // Colour is filtered premultiplied by alpha, so transparent pixels (often black) do not bleed a
    // dark fringe into the opaque ones next to them.
    std::vector<float> row(std::size_t(width) * 4);
    std::vector<float> wide(std::size_t(newWidth) * height * 4);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = pixels.data() + std::size_t(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const float a = hasAlpha ? src[x * 4 + 3] : 255.0f;
            for (int c = 0; c < 3; ++c)
                row[std::size_t(x) * 4 + c] = src[x * 4 + c] * a / 255.0f;
            row[std::size_t(x) * 4 + 3] = a;
        }
        float* out = wide.data() + std::size_t(y) * newWidth * 4;
        for (std::size_t i = 0; i < std::size_t(newWidth); ++i, out += 4) {
            float acc[4] = {0, 0, 0, 0};
            for (std::size_t k = across.start[i]; k < across.start[i + 1]; ++k) {
                const float* in = row.data() + std::size_t(across.index[k]) * 4;
                for (int c = 0; c < 4; ++c)
                    acc[c] += across.weight[k] * in[c];
            }
            std::copy_n(acc, 4, out);
        }
    }

    std::vector<std::uint8_t> result(std::size_t(newWidth) * newHeight * 4);
    std::vector<float> acc(std::size_t(newWidth) * 4);
    for (int j = 0; j < newHeight; ++j) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        for (std::size_t k = down.start[std::size_t(j)]; k < down.start[std::size_t(j) + 1]; ++k) {
            const float* in = wide.data() + std::size_t(down.index[k]) * newWidth * 4;
            const float w = down.weight[k];
            for (std::size_t n = 0; n < acc.size(); ++n)
                acc[n] += w * in[n];
        }
        std::uint8_t* out = result.data() + std::size_t(j) * newWidth * 4;
        for (int i = 0; i < newWidth; ++i, out += 4) {
            const float* p = acc.data() + std::size_t(i) * 4;
            const float a = std::clamp(p[3], 0.0f, 255.0f);
            const std::uint8_t alpha = hasAlpha ? toByte(a) : 255;
            for (int c = 0; c < 3; ++c)
                out[c] = alpha == 0 ? 0 : toByte(p[c] * 255.0f / a);
            out[3] = alpha;
        }
    }
    if (!palette.empty())
        mapToPalette(result, palette);
    width = newWidth;
    height = newHeight;
    pixels = std::move(result);
}
