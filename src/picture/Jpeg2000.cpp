#include "Jpeg2000.h"

#include "Jpeg2000Header.h"
#include "PictureLimits.h"

#include <openjpeg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The bytes as an OpenJPEG input stream. Positions past the end behave as they do for a file: a skip
// or seek there succeeds and the next read reports the end.
struct MemoryInput {
    const std::uint8_t* data = nullptr;
    std::uint64_t size = 0;
    std::uint64_t position = 0;
};

OPJ_SIZE_T readInput(void* buffer, OPJ_SIZE_T count, void* user) {
    auto* input = static_cast<MemoryInput*>(user);
    if (input->position >= input->size)
        return static_cast<OPJ_SIZE_T>(-1);
    const auto n = static_cast<OPJ_SIZE_T>(std::min<std::uint64_t>(count, input->size - input->position));
    std::memcpy(buffer, input->data + input->position, n);
    input->position += n;
    return n;
}

OPJ_OFF_T skipInput(OPJ_OFF_T count, void* user) {
    auto* input = static_cast<MemoryInput*>(user);
    if (count < 0 && static_cast<std::uint64_t>(-count) > input->position)
        return -1;
    input->position = static_cast<std::uint64_t>(static_cast<OPJ_OFF_T>(input->position) + count);
    return count;
}

OPJ_BOOL seekInput(OPJ_OFF_T offset, void* user) {
    if (offset < 0)
        return OPJ_FALSE;
    static_cast<MemoryInput*>(user)->position = static_cast<std::uint64_t>(offset);
    return OPJ_TRUE;
}

// OpenJPEG reports through C callbacks; keep its first complaint as the reason we give.
struct ErrorText {
    char text[200] = {};
};

void keepError(const char* message, void* user) {
    auto* error = static_cast<ErrorText*>(user);
    if (error->text[0] != '\0' || message == nullptr)
        return;
    std::snprintf(error->text, sizeof error->text, "%s", message);
    const std::size_t n = std::strlen(error->text);
    if (n > 0 && error->text[n - 1] == '\n')
        error->text[n - 1] = '\0';
}

void ignoreMessage(const char*, void*) {}

struct CodecDeleter {
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageDeleter {
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};

// One component as 8-bit samples at picture coordinates, whatever its precision, sign and subsampling.
class Plane {
public:
    Plane(const opj_image_t& image, const opj_image_comp_t& comp) : image(image), comp(comp) {
        offset = comp.sgnd ? std::int64_t{1} << (comp.prec - 1) : 0;
        maximum = (std::int64_t{1} << comp.prec) - 1;
    }

    std::uint8_t At(std::uint32_t x, std::uint32_t y) const {
        const std::uint32_t cx = clampIndex((image.x0 + x) / comp.dx, comp.x0, comp.w);
        const std::uint32_t cy = clampIndex((image.y0 + y) / comp.dy, comp.y0, comp.h);
        const std::int64_t v = std::clamp<std::int64_t>(comp.data[std::size_t{cy} * comp.w + cx] + offset, 0, maximum);
        return static_cast<std::uint8_t>((v * 255 + maximum / 2) / maximum);
    }

private:
    static std::uint32_t clampIndex(std::uint32_t grid, std::uint32_t origin, std::uint32_t extent) {
        return grid <= origin ? 0 : std::min(grid - origin, extent - 1);
    }

    const opj_image_t& image;
    const opj_image_comp_t& comp;
    std::int64_t offset = 0;
    std::int64_t maximum = 1;
};

std::uint8_t clampByte(double v) {
    return static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

Picture toPicture(const opj_image_t& image, const std::string& source) {
    const std::uint32_t width = image.x1 - image.x0;
    const std::uint32_t height = image.y1 - image.y0;
    for (std::uint32_t i = 0; i < image.numcomps; ++i) {
        const opj_image_comp_t& c = image.comps[i];
        if (c.data == nullptr || c.w == 0 || c.h == 0 || c.dx == 0 || c.dy == 0 || c.prec == 0 || c.prec > 31)
            throw PictureError(DamagedMessage(source, "a colour component could not be decoded"));
    }
    if (image.color_space == OPJ_CLRSPC_CMYK || image.color_space == OPJ_CLRSPC_EYCC)
        throw PictureError(source + " uses a JPEG 2000 colour space that cannot be imported");

    // Components flagged as opacity are alpha; of the rest, the first one or three carry the colour.
    // Without flags a second or fourth component is alpha by convention.
    std::vector<std::uint32_t> colour;
    int alpha = -1;
    for (std::uint32_t i = 0; i < image.numcomps; ++i) {
        if (image.comps[i].alpha != 0 && alpha < 0)
            alpha = static_cast<int>(i);
        else
            colour.push_back(i);
    }
    const bool rgb = colour.size() >= 3 && image.color_space != OPJ_CLRSPC_GRAY;
    if (alpha < 0 && (image.numcomps == 4 || image.numcomps == 2))
        alpha = static_cast<int>(image.numcomps - 1);
    if (colour.empty())
        throw PictureError(DamagedMessage(source, "it has no colour component"));

    const Plane first(image, image.comps[colour[0]]);
    const Plane second(image, image.comps[rgb ? colour[1] : colour[0]]);
    const Plane third(image, image.comps[rgb ? colour[2] : colour[0]]);
    const Plane opacity(image, image.comps[alpha >= 0 ? static_cast<std::uint32_t>(alpha) : colour[0]]);
    const bool ycc = rgb && image.color_space == OPJ_CLRSPC_SYCC;

    Picture picture(static_cast<int>(width), static_cast<int>(height));
    std::uint8_t* out = picture.Data();
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x, out += 4) {
            const std::uint8_t a = first.At(x, y);
            const std::uint8_t b = second.At(x, y);
            const std::uint8_t c = third.At(x, y);
            if (ycc) {
                const double cb = b - 128.0;
                const double cr = c - 128.0;
                out[0] = clampByte(a + 1.402 * cr);
                out[1] = clampByte(a - 0.344136 * cb - 0.714136 * cr);
                out[2] = clampByte(a + 1.772 * cb);
            } else {
                out[0] = a;
                out[1] = b;
                out[2] = c;
            }
            out[3] = alpha >= 0 ? opacity.At(x, y) : 255;
        }
    }
    picture.SetHasAlpha(alpha >= 0);
    return picture;
}

} // namespace

Picture DecodeJpeg2000(std::span<const std::uint8_t> bytes, bool boxed, const std::string& source) {
    RequireJpeg2000WithinLimits(bytes, boxed, source);
    MemoryInput input{bytes.data(), bytes.size(), 0};
    ErrorText error;
    auto fail = [&](const char* fallback) {
        return PictureError(DamagedMessage(source, error.text[0] != '\0' ? error.text : fallback));
    };

    std::unique_ptr<opj_stream_t, StreamDeleter> stream(opj_stream_create(64 * 1024, OPJ_TRUE));
    std::unique_ptr<opj_codec_t, CodecDeleter> codec(opj_create_decompress(boxed ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!stream || !codec)
        throw PictureError(source + " cannot be read: out of memory");
    opj_stream_set_user_data(stream.get(), &input, nullptr);
    opj_stream_set_user_data_length(stream.get(), input.size);
    opj_stream_set_read_function(stream.get(), readInput);
    opj_stream_set_skip_function(stream.get(), skipInput);
    opj_stream_set_seek_function(stream.get(), seekInput);
    opj_set_error_handler(codec.get(), keepError, &error);
    opj_set_warning_handler(codec.get(), ignoreMessage, nullptr);
    opj_set_info_handler(codec.get(), ignoreMessage, nullptr);

    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    // No worker threads: one would only be waited for, yet cost a stack and a heap of its own.
    if (!opj_setup_decoder(codec.get(), &parameters) || !opj_codec_set_threads(codec.get(), 0))
        throw fail("the decoder could not be set up");

    opj_image_t* header = nullptr;
    const bool headerRead = opj_read_header(stream.get(), codec.get(), &header);
    std::unique_ptr<opj_image_t, ImageDeleter> image(header);
    if (!headerRead || !image)
        throw fail("its header cannot be read");
    // Every component is decoded into 32-bit samples at full size, so size and component count are
    // judged before anything is decoded.
    if (image->x1 <= image->x0 || image->y1 <= image->y0)
        throw fail("it declares an empty picture");
    RequireImportSize(source, std::int64_t{image->x1} - image->x0, std::int64_t{image->y1} - image->y0);
    if (image->numcomps == 0 || image->numcomps > 4)
        throw PictureError(DamagedMessage(source, "it has " + std::to_string(image->numcomps) +
                                                      " colour components; one to four can be imported"));

    if (!opj_decode(codec.get(), stream.get(), image.get()) || !opj_end_decompress(codec.get(), stream.get()))
        throw fail("the picture data cannot be decoded");
    return toPicture(*image, source);
}
