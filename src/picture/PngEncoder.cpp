// Writes a picture as the smallest of a few PNG forms that keep its pixels exactly. The file is put
// together here chunk by chunk (one IDAT), so the forms, the row filters and zlib's settings are ours
// to choose; libpng stays the reader.
#include "Picture.h"
#include "PlainPng.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <optional>
#include <unordered_map>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kGrey = 0;
constexpr std::uint8_t kRgb = 2;
constexpr std::uint8_t kPalette = 3;
constexpr std::uint8_t kGreyAlpha = 4;
constexpr std::uint8_t kRgba = 6;

std::uint32_t keyOf(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

// What the pixels need: the forms they fit follow from it.
struct Analysis {
    bool opaque = true;
    bool grey = true;
    // Each distinct colour and how often it appears; empty when there are more than 256.
    std::unordered_map<std::uint32_t, std::uint32_t> colours;
    // The one colour every transparent pixel has and no opaque one, when alpha is only ever 0 or 255:
    // a tRNS entry then does what an alpha channel would.
    std::optional<std::uint32_t> clearKey;
    int greyDepth = 8; // the fewest bits that hold every grey value (and the clear one)
};

Analysis analyse(const Bytes& rgba) {
    Analysis result;
    bool onlyClearOrOpaque = true;
    std::optional<std::uint32_t> clearRgb;
    bool clearColoursDiffer = false;
    std::array<bool, 256> greyUsed{};
    bool manyColours = false;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const std::uint8_t* p = rgba.data() + i;
        if (p[0] != p[1] || p[1] != p[2])
            result.grey = false;
        else
            greyUsed[p[0]] = true;
        if (p[3] != 255) {
            result.opaque = false;
            if (p[3] != 0)
                onlyClearOrOpaque = false;
            const std::uint32_t rgb = keyOf(p) & 0xFFFFFFu;
            if (!clearRgb)
                clearRgb = rgb;
            else if (*clearRgb != rgb)
                clearColoursDiffer = true;
        }
        if (!manyColours) {
            ++result.colours[keyOf(p)];
            manyColours = result.colours.size() > 256;
        }
    }
    if (manyColours)
        result.colours.clear();
    if (!result.opaque && onlyClearOrOpaque && !clearColoursDiffer) {
        const std::uint32_t clear = *clearRgb | 0xFF000000u;
        bool opaqueToo = false;
        for (std::size_t i = 0; i < rgba.size() && !opaqueToo; i += 4)
            opaqueToo = keyOf(rgba.data() + i) == clear;
        if (!opaqueToo)
            result.clearKey = *clearRgb;
    }
    if (result.grey) {
        for (const int depth : {1, 2, 4}) {
            const int step = 255 / ((1 << depth) - 1);
            bool fits = true;
            for (int v = 0; v < 256 && fits; ++v)
                fits = !greyUsed[std::size_t(v)] || v % step == 0;
            if (fits) {
                result.greyDepth = depth;
                break;
            }
        }
    }
    return result;
}

// One way of writing the pixels: the header fields, PLTE and tRNS, and the unfiltered rows.
struct Form {
    std::uint8_t colourType = kRgba;
    std::uint8_t depth = 8;
    Bytes plte;
    Bytes trns;
    std::size_t rowBytes = 0;
    std::size_t filterStep = 1; // bytes from a byte to the same byte of the pixel on its left
    Bytes rows;                 // height × rowBytes

    // What PLTE and tRNS add to the file, with their chunk headers.
    std::size_t ExtraBytes() const {
        return (plte.empty() ? 0 : 12 + plte.size()) + (trns.empty() ? 0 : 12 + trns.size());
    }
};

Form packedForm(int width, int height, std::uint8_t colourType, int depth) {
    Form form;
    form.colourType = colourType;
    form.depth = static_cast<std::uint8_t>(depth);
    const int channels = colourType == kGreyAlpha ? 2 : colourType == kRgb ? 3 : colourType == kRgba ? 4 : 1;
    form.rowBytes = (std::size_t(width) * channels * depth + 7) / 8;
    form.filterStep = std::max<std::size_t>(1, std::size_t(channels) * depth / 8);
    form.rows.assign(form.rowBytes * std::size_t(height), 0);
    return form;
}

// Puts one sample of `depth` bits at sample position `index` of a row, leftmost bits first.
void putSample(std::uint8_t* row, std::size_t index, int depth, unsigned value) {
    if (depth == 8) {
        row[index] = static_cast<std::uint8_t>(value);
        return;
    }
    const std::size_t bit = index * std::size_t(depth);
    row[bit / 8] |= static_cast<std::uint8_t>(value << (8 - depth - bit % 8));
}

int paletteDepth(std::size_t colours) {
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

// Translucent entries first, so tRNS ends early; within each group the most used first.
Form paletteForm(const Bytes& rgba, int width, int height, const Analysis& analysis) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order(analysis.colours.begin(), analysis.colours.end());
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        const bool aOpaque = a.first >> 24 == 255;
        const bool bOpaque = b.first >> 24 == 255;
        if (aOpaque != bOpaque)
            return bOpaque;
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    Form form = packedForm(width, height, kPalette, paletteDepth(order.size()));
    std::unordered_map<std::uint32_t, unsigned> index;
    for (const auto& [colour, count] : order) {
        index.emplace(colour, static_cast<unsigned>(index.size()));
        for (int shift : {0, 8, 16})
            form.plte.push_back(static_cast<std::uint8_t>(colour >> shift));
        if (colour >> 24 != 255)
            form.trns.push_back(static_cast<std::uint8_t>(colour >> 24));
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = form.rows.data() + std::size_t(y) * form.rowBytes;
        for (int x = 0; x < width; ++x)
            putSample(row, std::size_t(x), form.depth, index.at(keyOf(rgba.data() + (std::size_t(y) * width + x) * 4)));
    }
    return form;
}

Form greyForm(const Bytes& rgba, int width, int height, const Analysis& analysis) {
    const bool alphaChannel = !analysis.opaque && !analysis.clearKey;
    const int depth = alphaChannel ? 8 : analysis.greyDepth;
    const unsigned step = 255u / ((1u << depth) - 1u);
    Form form = packedForm(width, height, alphaChannel ? kGreyAlpha : kGrey, depth);
    if (analysis.clearKey) {
        const unsigned level = (*analysis.clearKey & 0xFFu) / step;
        form.trns = {static_cast<std::uint8_t>(level >> 8), static_cast<std::uint8_t>(level)};
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = form.rows.data() + std::size_t(y) * form.rowBytes;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = rgba.data() + (std::size_t(y) * width + x) * 4;
            if (alphaChannel) {
                row[std::size_t(x) * 2] = p[0];
                row[std::size_t(x) * 2 + 1] = p[3];
            } else {
                putSample(row, std::size_t(x), depth, p[0] / step);
            }
        }
    }
    return form;
}

Form trueColourForm(const Bytes& rgba, int width, int height, const Analysis& analysis) {
    const bool alphaChannel = !analysis.opaque && !analysis.clearKey;
    Form form = packedForm(width, height, alphaChannel ? kRgba : kRgb, 8);
    if (analysis.clearKey)
        for (int shift : {0, 8, 16})
            form.trns.insert(form.trns.end(), {0, static_cast<std::uint8_t>(*analysis.clearKey >> shift)});
    const std::size_t channels = alphaChannel ? 4 : 3;
    std::uint8_t* out = form.rows.data();
    for (std::size_t i = 0; i < rgba.size(); i += 4, out += channels)
        std::copy_n(rgba.data() + i, channels, out);
    return form;
}

// The five PNG row filters, and the choice per row that libpng makes by default: the filter whose
// output has the least sum of absolute values, the bytes taken as signed.
enum Filter : int { kNone, kSub, kUp, kAverage, kPaeth, kAdaptive };

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

void filterRow(int filter, const std::uint8_t* row, const std::uint8_t* above, std::size_t size, std::size_t step,
               std::uint8_t* out) {
    for (std::size_t i = 0; i < size; ++i) {
        const int a = i >= step ? row[i - step] : 0;
        const int b = above != nullptr ? above[i] : 0;
        const int c = above != nullptr && i >= step ? above[i - step] : 0;
        int predicted = 0;
        switch (filter) {
        case kSub:
            predicted = a;
            break;
        case kUp:
            predicted = b;
            break;
        case kAverage:
            predicted = (a + b) / 2;
            break;
        case kPaeth:
            predicted = paeth(a, b, c);
            break;
        default:
            break;
        }
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
}

std::uint64_t signedSum(const std::uint8_t* bytes, std::size_t size) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum += static_cast<std::uint64_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(bytes[i]))));
    return sum;
}

// The rows as the IDAT stream holds them before compression: each led by its filter type. With
// `sampleEvery` above 1, only the first of every that many bands of 16 rows, to judge by.
Bytes filtered(const Form& form, int filter, std::size_t sampleEvery = 1) {
    const std::size_t height = form.rowBytes == 0 ? 0 : form.rows.size() / form.rowBytes;
    Bytes out;
    out.reserve((form.rowBytes + 1) * height);
    Bytes trial(form.rowBytes);
    for (std::size_t y = 0; y < height; ++y) {
        if (y / 16 % sampleEvery != 0)
            continue;
        const std::uint8_t* row = form.rows.data() + y * form.rowBytes;
        const std::uint8_t* above = y > 0 ? row - form.rowBytes : nullptr;
        out.resize(out.size() + form.rowBytes + 1);
        std::uint8_t* to = out.data() + out.size() - (form.rowBytes + 1);
        int chosen = filter;
        if (filter == kAdaptive) {
            std::uint64_t best = std::numeric_limits<std::uint64_t>::max();
            for (int f = kNone; f <= kPaeth; ++f) {
                filterRow(f, row, above, form.rowBytes, form.filterStep, trial.data());
                const std::uint64_t sum = signedSum(trial.data(), trial.size());
                if (sum < best) {
                    best = sum;
                    chosen = f;
                }
            }
        }
        to[0] = static_cast<std::uint8_t>(chosen);
        filterRow(chosen, row, above, form.rowBytes, form.filterStep, to + 1);
    }
    return out;
}

// The data deflated at `level` with `strategy`; empty when zlib fails.
Bytes deflated(const Bytes& data, int level, int strategy) {
    // A window no larger than the data compresses it the same and is quicker to set up.
    int windowBits = 9;
    while (windowBits < 15 && (std::size_t{1} << windowBits) < data.size() + 262)
        ++windowBits;
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, windowBits, 9, strategy) != Z_OK)
        return {};
    Bytes out(deflateBound(&stream, static_cast<uLong>(data.size())));
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return done ? out : Bytes{};
}

// One form with one filter choice: its IDAT data before and after deflating.
struct Trial {
    const Form* form = nullptr;
    int filter = kNone;
    Bytes data;               // of the whole picture, or of a sample of it while large data is judged
    std::size_t estimate = 0; // the file's size at zlib's fastest level, as judged
    Bytes idat;
};

// At level 9 a 320 x 240 photograph takes tens of milliseconds to deflate, so every form and filter
// is first judged at the fastest level (large data by a quarter of its rows), which ranks them nearly
// as level 9 would. Small data, where
// that judgement is least sure and level 9 is cheap, is deflated at level 9 for every choice; larger
// data only for the best (and the runner-up while it is small). Z_FILTERED, which often wins on
// filtered rows, is tried where that is cheap; Z_RLE and Z_HUFFMAN_ONLY are always quick.
constexpr std::size_t kTinyData = 16 * 1024;
constexpr std::size_t kSmallData = 64 * 1024;
constexpr std::size_t kFilteredStrategyData = 128 * 1024;

Trial bestTrial(const std::vector<Form>& forms) {
    std::vector<Trial> trials;
    for (const Form& form : forms)
        for (int filter = kNone; filter <= kAdaptive; ++filter) {
            const std::size_t sampleEvery = form.rows.size() > kSmallData ? 2 : 1;
            Trial trial{&form, filter, filtered(form, filter, sampleEvery), 0, {}};
            const Bytes quick = deflated(trial.data, 1, Z_DEFAULT_STRATEGY);
            trial.estimate = quick.empty() ? std::numeric_limits<std::size_t>::max()
                                           : quick.size() * sampleEvery + form.ExtraBytes();
            trials.push_back(std::move(trial));
        }
    std::stable_sort(trials.begin(), trials.end(),
                     [](const Trial& a, const Trial& b) { return a.estimate < b.estimate; });
    Trial best;
    std::size_t bestSize = std::numeric_limits<std::size_t>::max();
    for (std::size_t t = 0; t < trials.size(); ++t) {
        Trial& trial = trials[t];
        const std::size_t size = trial.form->rows.size();
        const bool worthIt = t == 0 || size <= kTinyData || (t == 1 && size <= kSmallData);
        if (!worthIt)
            continue;
        if (size > kSmallData)
            trial.data = filtered(*trial.form, trial.filter);
        for (const int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_RLE, Z_HUFFMAN_ONLY}) {
            if (strategy == Z_FILTERED && trial.data.size() > kFilteredStrategyData)
                continue;
            Bytes idat = deflated(trial.data, Z_BEST_COMPRESSION, strategy);
            const std::size_t fileSize = idat.size() + trial.form->ExtraBytes();
            if (!idat.empty() && fileSize < bestSize) {
                bestSize = fileSize;
                best.form = trial.form;
                best.idat = std::move(idat);
            }
        }
    }
    return best;
}

void putBigEndian32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
    putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const auto crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    putBigEndian32(out, static_cast<std::uint32_t>(crc));
}

Bytes pngFile(const Form& form, int width, int height, const Bytes& idat) {
    Bytes header;
    putBigEndian32(header, static_cast<std::uint32_t>(width));
    putBigEndian32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {form.depth, form.colourType, 0, 0, 0});
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.reserve(out.size() + 3 * 12 + header.size() + form.plte.size() + form.trns.size() + idat.size() + 12);
    putChunk(out, "IHDR", header);
    if (!form.plte.empty())
        putChunk(out, "PLTE", form.plte);
    if (!form.trns.empty())
        putChunk(out, "tRNS", form.trns);
    putChunk(out, "IDAT", idat);
    putChunk(out, "IEND", {});
    return out;
}

} // namespace

std::vector<std::uint8_t> Picture::EncodePng() const {
    if (IsEmpty())
        throw PictureError("an empty picture cannot be encoded as PNG");
    Bytes rgba = pixels;
    if (!hasAlpha)
        for (std::size_t i = 3; i < rgba.size(); i += 4)
            rgba[i] = 255;
    const Analysis analysis = analyse(rgba);

    std::vector<Form> forms;
    if (!analysis.colours.empty())
        forms.push_back(paletteForm(rgba, width, height, analysis));
    // A grey picture in true colour only repeats each sample three times.
    if (analysis.grey)
        forms.push_back(greyForm(rgba, width, height, analysis));
    else
        forms.push_back(trueColourForm(rgba, width, height, analysis));

    const Trial best = bestTrial(forms);
    if (best.form == nullptr)
        throw PictureError("the picture cannot be encoded as PNG: zlib failed");
    Bytes smallest = pngFile(*best.form, width, height, best.idat);
    // zlib's highest level loses a few bytes to its default now and then; a picture is never
    // written larger than the plain form would write it.
    Bytes plain = EncodePlainPng(*this);
    return plain.size() < smallest.size() ? plain : smallest;
}
