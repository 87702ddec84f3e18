#include "SampleFiles.h"

#include <Magick++.h>
#include <openjpeg.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <list>
#include <stdexcept>

namespace {

void push16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void push32(Bytes& out, std::uint32_t v) {
    push16(out, v & 0xFFFF);
    push16(out, v >> 16);
}

void pushBe32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void ensureMagick() {
    static const bool ready = [] {
        MagickLib::ExceptionInfo exception;
        MagickLib::GetExceptionInfo(&exception);
        MagickLib::InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
        MagickLib::DestroyExceptionInfo(&exception);
        return true;
    }();
    (void)ready;
}

struct OutputStream {
    Bytes* bytes = nullptr;
    std::size_t position = 0;
};

OPJ_SIZE_T writeOut(void* data, OPJ_SIZE_T n, void* user) {
    auto* out = static_cast<OutputStream*>(user);
    if (out->bytes->size() < out->position + n)
        out->bytes->resize(out->position + n);
    std::memcpy(out->bytes->data() + out->position, data, n);
    out->position += n;
    return n;
}

OPJ_OFF_T skipOut(OPJ_OFF_T n, void* user) {
    static_cast<OutputStream*>(user)->position += static_cast<std::size_t>(n);
    return n;
}

OPJ_BOOL seekOut(OPJ_OFF_T offset, void* user) {
    static_cast<OutputStream*>(user)->position = static_cast<std::size_t>(offset);
    return OPJ_TRUE;
}

// Appends one PNG chunk: length, type, data, CRC of type and data.
void pushChunk(Bytes& out, const char* type, const Bytes& data) {
    pushBe32(out, static_cast<std::uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    pushBe32(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

} // namespace

Picture MakePattern(int width, int height, bool alpha) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            Rgba c = !bottom ? (right ? Rgba{30, 200, 60, 255} : Rgba{220, 30, 30, 255})
                             : (right ? Rgba{240, 220, 40, 255} : Rgba{40, 50, 210, 255});
            picture.SetPixel(x, y, c);
        }
    }
    picture.SetPixel(1, 0, {10, 20, 30, 255});
    picture.SetPixel(width - 1, height - 1, {250, 128, 0, 255});
    if (alpha)
        picture.SetPixel(0, height - 1, {0, 0, 0, 0});
    picture.SetHasAlpha(alpha);
    return picture;
}

Picture MakeBilevelPattern(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t v = ((x / 3 + y) % 2 == 0 || x == y) ? 255 : 0;
            picture.SetPixel(x, y, {v, v, v, 255});
        }
    return picture;
}

Bytes WriteWithMagick(const Picture& picture, const std::string& format, bool palette, bool interlaced) {
    ensureMagick();
    Magick::Image image(static_cast<unsigned>(picture.Width()), static_cast<unsigned>(picture.Height()), "RGBA",
                        Magick::CharPixel, picture.Data());
    image.matte(picture.HasAlpha());
    if (palette)
        image.type(Magick::PaletteType);
    if (interlaced)
        image.interlaceType(Magick::LineInterlace);
    image.quality(95);
    image.magick(format);
    Magick::Blob blob;
    image.write(&blob);
    const auto* p = static_cast<const std::uint8_t*>(blob.data());
    return Bytes(p, p + blob.length());
}

Bytes WriteFramesWithMagick(const std::vector<Picture>& frames, const std::string& format) {
    ensureMagick();
    std::list<Magick::Image> images;
    for (const Picture& p : frames) {
        images.emplace_back(unsigned(p.Width()), unsigned(p.Height()), "RGBA", Magick::CharPixel, p.Data());
        images.back().magick(format);
    }
    Magick::Blob blob;
    Magick::writeImages(images.begin(), images.end(), &blob, true);
    const auto* p = static_cast<const std::uint8_t*>(blob.data());
    return Bytes(p, p + blob.length());
}

Bytes EncodeJpeg2000(const Picture& picture, bool boxed, float rate) {
    const int channels = picture.HasAlpha() ? 4 : 3;
    opj_image_cmptparm_t parameters[4] = {};
    for (int c = 0; c < channels; ++c) {
        parameters[c].dx = 1;
        parameters[c].dy = 1;
        parameters[c].w = static_cast<OPJ_UINT32>(picture.Width());
        parameters[c].h = static_cast<OPJ_UINT32>(picture.Height());
        parameters[c].prec = 8;
    }
    opj_image_t* image = opj_image_create(static_cast<OPJ_UINT32>(channels), parameters, OPJ_CLRSPC_SRGB);
    image->x1 = static_cast<OPJ_UINT32>(picture.Width());
    image->y1 = static_cast<OPJ_UINT32>(picture.Height());
    if (channels == 4)
        image->comps[3].alpha = 1;
    const std::size_t count = std::size_t(picture.Width()) * picture.Height();
    for (std::size_t i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c)
            image->comps[c].data[i] = picture.Data()[i * 4 + static_cast<std::size_t>(c)];

    opj_cparameters_t settings;
    opj_set_default_encoder_parameters(&settings);
    settings.numresolution = 3;
    settings.tcp_numlayers = 1;
    settings.tcp_rates[0] = rate;
    settings.cp_disto_alloc = 1;
    settings.irreversible = rate > 0 ? 1 : 0;
    settings.tcp_mct = 1;

    Bytes bytes;
    OutputStream out{&bytes, 0};
    opj_codec_t* codec = opj_create_compress(boxed ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    opj_stream_t* stream = opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_FALSE);
    opj_stream_set_user_data(stream, &out, nullptr);
    opj_stream_set_write_function(stream, writeOut);
    opj_stream_set_skip_function(stream, skipOut);
    opj_stream_set_seek_function(stream, seekOut);
    const bool ok = opj_setup_encoder(codec, &settings, image) && opj_start_compress(codec, image, stream) &&
                    opj_encode(codec, stream) && opj_end_compress(codec, stream);
    opj_stream_destroy(stream);
    opj_destroy_codec(codec);
    opj_image_destroy(image);
    if (!ok)
        throw std::runtime_error("OpenJPEG could not encode the sample");
    return bytes;
}

Bytes WritePng(const PngContents& contents) {
    const int channels = contents.colourType == 2 ? 3 : contents.colourType == 4 ? 2 : contents.colourType == 6 ? 4 : 1;
    const std::size_t perRow = std::size_t(contents.width) * std::size_t(channels);
    Bytes raw;
    for (int y = 0; y < contents.height; ++y) {
        Bytes row((perRow * std::size_t(contents.bitDepth) + 7) / 8 + 1, 0); // filter type 0, then the samples
        for (std::size_t i = 0; i < perRow; ++i) {
            const std::uint16_t v = contents.samples[std::size_t(y) * perRow + i];
            if (contents.bitDepth == 16) {
                row[1 + i * 2] = static_cast<std::uint8_t>(v >> 8);
                row[2 + i * 2] = static_cast<std::uint8_t>(v);
            } else {
                const std::size_t bit = i * std::size_t(contents.bitDepth);
                row[1 + bit / 8] |= static_cast<std::uint8_t>(v << (8 - contents.bitDepth - int(bit % 8)));
            }
        }
        raw.insert(raw.end(), row.begin(), row.end());
    }
    Bytes packed(compressBound(static_cast<uLong>(raw.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);

    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    pushBe32(header, static_cast<std::uint32_t>(contents.width));
    pushBe32(header, static_cast<std::uint32_t>(contents.height));
    header.insert(header.end(), {std::uint8_t(contents.bitDepth), std::uint8_t(contents.colourType), 0, 0, 0});
    pushChunk(out, "IHDR", header);
    if (!contents.palette.empty()) {
        Bytes colours;
        Bytes alphas;
        for (const Rgba& c : contents.palette) {
            colours.insert(colours.end(), {c.r, c.g, c.b});
            alphas.push_back(c.a);
        }
        pushChunk(out, "PLTE", colours);
        if (std::any_of(alphas.begin(), alphas.end(), [](std::uint8_t a) { return a != 255; }))
            pushChunk(out, "tRNS", alphas);
    }
    if (!contents.trnsColour.empty()) {
        Bytes value;
        for (std::uint16_t v : contents.trnsColour)
            value.insert(value.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        pushChunk(out, "tRNS", value);
    }
    pushChunk(out, "IDAT", packed);
    pushChunk(out, "IEND", {});
    return out;
}

Bytes MakeIcon(const std::vector<IconEntry>& entries) {
    Bytes out;
    push16(out, 0);
    push16(out, 1);
    push16(out, static_cast<unsigned>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const IconEntry& e : entries) {
        out.push_back(static_cast<std::uint8_t>(e.width >= 256 ? 0 : e.width));
        out.push_back(static_cast<std::uint8_t>(e.height >= 256 ? 0 : e.height));
        out.push_back(0);
        out.push_back(0);
        push16(out, 1);
        push16(out, static_cast<unsigned>(e.bitCount));
        push32(out, static_cast<std::uint32_t>(e.payload.size()));
        push32(out, offset);
        offset += static_cast<std::uint32_t>(e.payload.size());
    }
    for (const IconEntry& e : entries)
        out.insert(out.end(), e.payload.begin(), e.payload.end());
    return out;
}

Bytes MakeIconDib(const Picture& picture) {
    const int w = picture.Width();
    const int h = picture.Height();
    Bytes out;
    push32(out, 40);
    push32(out, static_cast<std::uint32_t>(w));
    push32(out, static_cast<std::uint32_t>(h * 2));
    push16(out, 1);
    push16(out, 32);
    for (int i = 0; i < 6; ++i)
        push32(out, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgba c = picture.GetPixel(x, y);
            out.insert(out.end(), {c.b, c.g, c.r, c.a});
        }
    const int maskRow = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(std::size_t(maskRow), 0);
        for (int x = 0; x < w; ++x)
            if (picture.GetPixel(x, y).a == 0)
                row[std::size_t(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes MakeTwoColourMetafile(int width, int height) {
    // Records: size in 16-bit words, function number, parameters (each 16 bits, in reverse for points).
    std::vector<std::vector<unsigned>> records = {
        {0x020B, 0, 0},                                        // SETWINDOWORG y, x
        {0x020C, unsigned(height), unsigned(width)},           // SETWINDOWEXT y, x
        {0x02FA, 5, 0, 0, 0, 0},                               // CREATEPENINDIRECT: null pen
        {0x012D, 0},                                           // SELECTOBJECT 0
        {0x02FC, 0, 0x00FF, 0x0000, 0},                        // CREATEBRUSHINDIRECT: solid red (COLORREF 0x000000FF)
        {0x012D, 1},                                           // SELECTOBJECT 1
        {0x041B, unsigned(height), unsigned(width / 2), 0, 0}, // RECTANGLE bottom, right, top, left
        {0x01F0, 1},                                           // DELETEOBJECT 1
        {0x02FC, 0, 0x0000, 0x00FF, 0},                        // CREATEBRUSHINDIRECT: solid blue
        {0x012D, 1},                                           // SELECTOBJECT 1
        {0x041B, unsigned(height), unsigned(width), 0, unsigned(width / 2)}, // RECTANGLE
        {0x0000},                                                            // EOF
    };
    Bytes body;
    std::uint32_t maxRecord = 0;
    for (const auto& r : records) {
        const auto words = static_cast<std::uint32_t>(2 + r.size());
        maxRecord = std::max(maxRecord, words);
        push32(body, words);
        for (unsigned v : r)
            push16(body, v);
    }
    Bytes out;
    // Placeable header: key, handle, bounding box, units per inch (72: one unit per pixel), reserved, checksum.
    push32(out, 0x9AC6CDD7);
    push16(out, 0);
    push16(out, 0);
    push16(out, 0);
    push16(out, unsigned(width));
    push16(out, unsigned(height));
    push16(out, 72);
    push32(out, 0);
    unsigned checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        checksum ^= unsigned(out[i] | out[i + 1] << 8);
    push16(out, checksum);
    // Header: in memory, nine words, version 3, total size in words, two objects, largest record, no parameters.
    push16(out, 1);
    push16(out, 9);
    push16(out, 0x0300);
    push32(out, static_cast<std::uint32_t>(9 + body.size() / 2));
    push16(out, 2);
    push32(out, maxRecord);
    push16(out, 0);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes MakeHugePngHeader(std::uint32_t width, std::uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    pushBe32(header, width);
    pushBe32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    pushChunk(out, "IHDR", header);
    pushChunk(out, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    pushChunk(out, "IEND", {});
    return out;
}

Bytes MakeHugeBmpHeader(std::int32_t width, std::int32_t height) {
    Bytes out = {'B', 'M'};
    push32(out, 54 + 16);
    push32(out, 0);
    push32(out, 54);
    push32(out, 40);
    push32(out, static_cast<std::uint32_t>(width));
    push32(out, static_cast<std::uint32_t>(height));
    push16(out, 1);
    push16(out, 24);
    for (int i = 0; i < 6; ++i)
        push32(out, 0);
    out.resize(out.size() + 16, 0x7F);
    return out;
}


int MaxChannelDifference(const Picture& a, const Picture& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return 255;
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const Rgba p = a.GetPixel(x, y);
            const Rgba q = b.GetPixel(x, y);
            worst = std::max(worst, std::abs(p.a - q.a));
            if (p.a == 0 && q.a == 0)
                continue; // the colour of a fully transparent pixel is not kept by every format
            worst = std::max({worst, std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
        }
    return worst;
}
