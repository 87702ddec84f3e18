// PNG to and from memory with libpng. libpng reports errors by longjmp, so every function that calls
// setjmp keeps its C++ objects outside the jump: they are made by the caller before and checked after.
#include "Picture.h"
#include "PictureLimits.h"
#include "PixelBudget.h"
#include "PlainPng.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

const std::string kSource = "PNG data";

struct ErrorText {
    char text[200] = {};
};

void keepErrorAndJump(png_structp png, png_const_charp message) {
    auto* error = static_cast<ErrorText*>(png_get_error_ptr(png));
    std::snprintf(error->text, sizeof error->text, "%s", message != nullptr ? message : "unknown error");
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

struct MemoryInput {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
};

void readInput(png_structp png, png_bytep out, png_size_t count) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (count > input->size - input->position)
        png_error(png, "the data ends early");
    std::memcpy(out, input->data + input->position, count);
    input->position += count;
}

struct Reader {
    explicit Reader(ErrorText& error) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, keepErrorAndJump, ignoreWarning);
        if (png != nullptr)
            info = png_create_info_struct(png);
    }
    ~Reader() { png_destroy_read_struct(&png, &info, nullptr); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    png_structp png = nullptr;
    png_infop info = nullptr;
};

struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::size_t rowBytes = 0;
    bool alpha = false;
};

// Reads up to the first pixel data; the size is judged before libpng allocates anything for the rows.
bool readHeader(png_structp png, png_infop info, Layout* layout) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    // We judge the size ourselves, so the refusal names our limit rather than libpng's default.
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    layout->alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    layout->width = png_get_image_width(png, info);
    layout->height = png_get_image_height(png, info);
    return true;
}

// Asks for 8-bit RGBA rows whatever the colour type, depth and interlacing.
bool requestRgba(png_structp png, png_infop info, Layout* layout) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool readRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    // Up to the end chunk: a file cut after the pixels is still a damaged file.
    png_read_end(png, nullptr);
    return true;
}

struct MemoryOutput {
    std::vector<std::uint8_t>* bytes = nullptr;
};

void writeOutput(png_structp png, png_bytep data, png_size_t count) {
    auto* output = static_cast<MemoryOutput*>(png_get_io_ptr(png));
    bool stored = true;
    try {
        output->bytes->insert(output->bytes->end(), data, data + count);
    } catch (...) {
        stored = false;
    }
    if (!stored)
        png_error(png, "out of memory");
}

void flushOutput(png_structp) {}

struct Writer {
    explicit Writer(ErrorText& error) {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, keepErrorAndJump, ignoreWarning);
        if (png != nullptr)
            info = png_create_info_struct(png);
    }
    ~Writer() { png_destroy_write_struct(&png, &info); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    png_structp png = nullptr;
    png_infop info = nullptr;
};

bool writeImage(png_structp png, png_infop info, png_bytepp rows, std::uint32_t width, std::uint32_t height,
                bool alpha) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (!alpha)
        png_set_filler(png, 0, PNG_FILLER_AFTER); // our rows are RGBA; drop the A
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

void Picture::DecodePng(std::span<const std::uint8_t> bytes, PixelBudget* budget) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        throw PictureError(kSource + " is not a PNG image");

    ErrorText error;
    MemoryInput input{bytes.data(), bytes.size(), 0};
    Reader reader(error);
    if (reader.png == nullptr || reader.info == nullptr)
        throw PictureError(kSource + " cannot be read: out of memory");
    png_set_read_fn(reader.png, &input, readInput);

    Layout layout;
    if (!readHeader(reader.png, reader.info, &layout))
        throw PictureError(DamagedMessage(kSource, error.text));
    RequirePictureSize(kSource, layout.width, layout.height);
    if (budget != nullptr)
        budget->Take(kSource, layout.width, layout.height);
    // Deflate packs at most about 1032 bytes into one, so data this short cannot hold the rows it
    // claims; refusing here keeps a few bytes from making us allocate a huge picture.
    const std::uint64_t bitsPerPixel =
        std::uint64_t{png_get_bit_depth(reader.png, reader.info)} * png_get_channels(reader.png, reader.info);
    const std::uint64_t rawBytes = std::uint64_t{layout.height} * (1 + (layout.width * bitsPerPixel + 7) / 8);
    if (rawBytes > 1032 * std::uint64_t{bytes.size()} + 4096)
        throw PictureError(DamagedMessage(kSource, "it claims more pixels than its data can hold"));
    if (!requestRgba(reader.png, reader.info, &layout))
        throw PictureError(DamagedMessage(kSource, error.text));
    if (layout.rowBytes != std::size_t{layout.width} * 4)
        throw PictureError(DamagedMessage(kSource, "its pixel layout cannot be converted"));

    Picture decoded;
    std::vector<png_bytep> rows;
    try {
        decoded = Picture(static_cast<int>(layout.width), static_cast<int>(layout.height));
        rows.resize(layout.height);
    } catch (const std::bad_alloc&) {
        throw PictureError(OutOfMemoryMessage(kSource));
    }
    for (std::uint32_t y = 0; y < layout.height; ++y)
        rows[y] = decoded.pixels.data() + std::size_t{y} * layout.rowBytes;
    if (!readRows(reader.png, rows.data()))
        throw PictureError(DamagedMessage(kSource, error.text));
    decoded.hasAlpha = layout.alpha;
    *this = std::move(decoded);
}

std::vector<std::uint8_t> EncodePlainPng(const Picture& picture) {
    if (picture.IsEmpty())
        throw PictureError("an empty picture cannot be encoded as PNG");
    const int width = picture.Width();
    const int height = picture.Height();

    ErrorText error;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(width) * height + 1024);
    MemoryOutput output{&bytes};
    // libpng copies each row before working on it, so handing it our const pixels is safe.
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(picture.Data()) + std::size_t(y) * width * 4;

    Writer writer(error);
    if (writer.png == nullptr || writer.info == nullptr)
        throw PictureError("the picture cannot be encoded as PNG: out of memory");
    png_set_write_fn(writer.png, &output, writeOutput, flushOutput);
    if (!writeImage(writer.png, writer.info, rows.data(), static_cast<std::uint32_t>(width),
                    static_cast<std::uint32_t>(height), picture.HasAlpha()))
        throw PictureError(std::string("the picture cannot be encoded as PNG: ") + error.text);
    return bytes;
}
