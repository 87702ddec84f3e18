#include "MagickLoader.h"

#include "PictureLimits.h"
#include "base/LittleEndian.h"

#include <Magick++.h>

#include <algorithm>
#include <exception>
#include <unordered_set>
#include <vector>

namespace {

void ensureMagickReady() {
    static const bool ready = [] {
        // A library inside an application must leave the signal handlers to the application.
        MagickLib::ExceptionInfo exception;
        MagickLib::GetExceptionInfo(&exception);
        MagickLib::InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
        MagickLib::DestroyExceptionInfo(&exception);
        // A second line of defence behind our own header checks, for coders that size as they go. The
        // memory is room for one picture at the limit, 10 bytes a pixel in the pixel cache, and nothing
        // spills into files on disk.
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, kMaxImportSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, kMaxImportSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, std::int64_t{kMaxImportSide} * kMaxImportSide);
        MagickLib::SetMagickResourceLimit(MagickLib::MemoryResource, std::int64_t{256} << 20);
        MagickLib::SetMagickResourceLimit(MagickLib::MapResource, 0);
        MagickLib::SetMagickResourceLimit(MagickLib::DiskResource, 0);
        // Pictures for a 320 × 240 panel are small; worker threads would only compete for the cores.
        MagickLib::SetMagickResourceLimit(MagickLib::ThreadsResource, 1);
        return true;
    }();
    (void)ready;
}

// Where the picture starts in an icon file of one icon: after the directory and its one entry.
constexpr std::size_t kSingleIconData = 6 + 16;

// An icon file holds the same picture at several sizes; the largest (then the deepest) is the one worth
// importing. It is handed on as an icon file of its own so the reader decodes only that one.
std::vector<std::uint8_t> largestIcon(std::span<const std::uint8_t> bytes, const std::string& source) {
    // A file taken for an icon by its name alone may not even hold the directory.
    const std::size_t count = bytes.size() >= 6 ? GetLittleEndian16(bytes, 4) : 0;
    if (count == 0 || bytes.size() < 6 + count * 16)
        throw PictureError(DamagedMessage(source, "the icon directory is incomplete"));
    std::size_t best = 0;
    std::uint64_t bestArea = 0;
    unsigned bestDepth = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + i * 16;
        const unsigned w = bytes[entry] == 0 ? 256 : bytes[entry];
        const unsigned h = bytes[entry + 1] == 0 ? 256 : bytes[entry + 1];
        const unsigned depth = GetLittleEndian16(bytes, entry + 6);
        const std::uint64_t area = std::uint64_t{w} * h;
        if (i == 0 || area > bestArea || (area == bestArea && depth > bestDepth)) {
            best = i;
            bestArea = area;
            bestDepth = depth;
        }
    }
    const std::size_t entry = 6 + best * 16;
    const std::uint64_t size = GetLittleEndian32(bytes, entry + 8);
    const std::uint64_t offset = GetLittleEndian32(bytes, entry + 12);
    if (size == 0 || offset + size > bytes.size())
        throw PictureError(DamagedMessage(source, "the icon's data lies beyond the end of the file"));

    std::vector<std::uint8_t> single(kSingleIconData + size);
    single[2] = 1; // an icon, whether the file was one or a cursor
    single[4] = 1;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(entry), 12, single.begin() + 6);
    single[10] = 1; // planes, which cursors use for the hot spot
    single[11] = 0;
    PutLittleEndian32(single.data() + 18, kSingleIconData);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), size, single.begin() + kSingleIconData);
    return single;
}

// The metafile player draws what it can of a cut-off file and complains on the console; walk the record
// sizes first, so only a metafile that runs complete to its end record is played.
void requireCompleteMetafile(std::span<const std::uint8_t> bytes, const std::string& source) {
    const bool placeable = bytes.size() >= 4 && GetLittleEndian32(bytes, 0) == 0x9AC6CDD7u;
    std::size_t at = placeable ? 22 : 0;
    if (bytes.size() < at + 18 || GetLittleEndian16(bytes, at + 2) != 9)
        throw PictureError(DamagedMessage(source, "the metafile header is incomplete"));
    const std::uint64_t largest = GetLittleEndian32(bytes, at + 12); // the header's own bound on record sizes
    at += 18;
    while (bytes.size() >= at + 6) {
        const std::uint64_t words = GetLittleEndian32(bytes, at);
        if (words < 3 || words > largest || words > (bytes.size() - at) / 2)
            break;
        if (GetLittleEndian16(bytes, at + 4) == 0) // the end record
            return;
        at += static_cast<std::size_t>(words) * 2;
    }
    throw PictureError(DamagedMessage(source, "the drawing records end early"));
}

std::uint32_t bigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 8 | bytes[at + 1];
}

// The PNG and JPEG readers turn an oversized header into a vague complaint (or one about our resource
// limits); read the size ourselves so the refusal says what is wrong.
void requirePngSize(std::span<const std::uint8_t> bytes, const std::string& source) {
    if (bytes.size() < 24)
        return; // too short to be anything: the reader will say so
    auto be32 = [&](std::size_t at) { return bigEndian16(bytes, at) << 16 | bigEndian16(bytes, at + 2); };
    RequireImportSize(source, be32(16), be32(20));
}

// The size is in the first start-of-frame segment; everything before it is segments with a length.
void requireJpegSize(std::span<const std::uint8_t> bytes, const std::string& source) {
    std::size_t at = 2;
    while (at + 9 <= bytes.size() && bytes[at] == 0xFF) {
        const std::uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            RequireImportSize(source, bigEndian16(bytes, at + 7), bigEndian16(bytes, at + 5));
            return;
        }
        if (marker == 0xDA)
            return; // scan data before any frame: the reader will say so
        at += 2 + bigEndian16(bytes, at + 2);
    }
}

// "Magick: Improper image header () reported by coders/bmp.c:678 (ReadBMPImage)" → "Improper image header"
std::string magickReason(const std::exception& error) {
    std::string text = error.what();
    if (text.rfind("Magick: ", 0) == 0)
        text.erase(0, 8);
    if (const auto at = text.find(" reported by "); at != std::string::npos)
        text.erase(at);
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, " ()") == 0)
        text.erase(text.size() - 3);
    return text.empty() ? "the decoder gave no reason" : text;
}

// Names the format to the reader and keeps it from guessing another from the contents: a file we took
// for a TGA must never be read as, say, a script.
void forceFormat(Magick::Image& image, ImageFormat format) {
    const std::string name = ImageFormatName(format);
    image.magick(name);
    image.fileName(name + ":");
    image.subImage(0);
    image.subRange(1);
}

[[noreturn]] void rethrowAsPictureError(const std::string& source) {
    try {
        throw;
    } catch (const PictureError&) {
        throw;
    } catch (const Magick::ErrorResourceLimit& e) {
        throw PictureError(source + " is too large to load: " + magickReason(e));
    } catch (const std::bad_alloc&) {
        throw PictureError(source + " is too large to load: out of memory");
    } catch (const std::exception& e) {
        throw PictureError(DamagedMessage(source, magickReason(e)));
    } catch (...) {
        throw PictureError(DamagedMessage(source, "the decoder failed"));
    }
}

// Runs a read, keeping its result when all it raised was a harmless warning. A corrupt-image warning is
// how the readers report missing data they papered over, so that one counts as failure.
template <typename Read> void readTolerantly(Magick::Image& image, const std::string& source, Read read) {
    try {
        read();
    } catch (const Magick::WarningCorruptImage& e) {
        throw PictureError(DamagedMessage(source, magickReason(e)));
    } catch (const Magick::WarningResourceLimit& e) {
        throw PictureError(source + " is too large to load: " + magickReason(e));
    } catch (const Magick::Warning&) {
    }
    if (image.columns() == 0 || image.rows() == 0)
        throw PictureError(DamagedMessage(source, "no picture could be read from it"));
}

std::uint8_t toByte(Magick::Quantum q) {
    return static_cast<std::uint8_t>((std::uint32_t{q} * 255 + MaxRGB / 2) / MaxRGB);
}

// A file with a colour map keeps it (and the colours its pixels show, should the reader have set a
// pixel's transparency apart from its map entry), so resampling stays within the file's colours. A
// map of more than 256 colours is no palette a PNG could keep, and then any colour may appear.
std::vector<Rgba> paletteOf(Magick::Image& image, const Picture& picture) {
    if (image.classType() != Magick::PseudoClass || image.colorMapSize() == 0 || image.colorMapSize() > 256)
        return {};
    const bool alpha = picture.HasAlpha();
    std::vector<Rgba> palette;
    std::unordered_set<std::uint32_t> seen;
    const auto add = [&](Rgba c) {
        const std::uint32_t key =
            std::uint32_t{c.r} | std::uint32_t{c.g} << 8 | std::uint32_t{c.b} << 16 | std::uint32_t{c.a} << 24;
        if (seen.insert(key).second)
            palette.push_back(c);
    };
    for (unsigned i = 0; i < image.colorMapSize(); ++i) {
        const Magick::Color c = image.colorMap(i);
        // The map holds opacity, not alpha.
        add({toByte(c.redQuantum()), toByte(c.greenQuantum()), toByte(c.blueQuantum()),
             alpha ? static_cast<std::uint8_t>(255 - toByte(c.alphaQuantum())) : std::uint8_t{255}});
    }
    const std::uint8_t* p = picture.Data();
    for (std::size_t i = 0, n = std::size_t(picture.Width()) * picture.Height() * 4; i < n && palette.size() <= 256;
         i += 4)
        add({p[i], p[i + 1], p[i + 2], p[i + 3]});
    if (palette.size() > 256)
        return {};
    return palette;
}

} // namespace

Picture DecodeWithMagick(std::span<const std::uint8_t> bytes, ImageFormat format, const std::string& source) {
    ensureMagickReady();
    std::vector<std::uint8_t> icon;
    if (format == ImageFormat::Ico) {
        icon = largestIcon(bytes, source);
        bytes = icon;
        if (DetectImageFormat(bytes.subspan(kSingleIconData)) == ImageFormat::Png) // a whole PNG file inside
            requirePngSize(bytes.subspan(kSingleIconData), source);
    } else if (format == ImageFormat::Wmf) {
        requireCompleteMetafile(bytes, source);
    } else if (format == ImageFormat::Png) {
        requirePngSize(bytes, source);
    } else if (format == ImageFormat::Jpeg) {
        requireJpegSize(bytes, source);
    }
    try {
        const Magick::Blob blob(bytes.data(), bytes.size());

        Magick::Image header;
        forceFormat(header, format);
        readTolerantly(header, source, [&] { header.ping(blob); });
        RequireImportSize(source, header.columns(), header.rows());

        Magick::Image image;
        forceFormat(image, format);
        readTolerantly(image, source, [&] { image.read(blob); });
        const int width = static_cast<int>(image.columns());
        const int height = static_cast<int>(image.rows());
        RequireImportSize(source, width, height);

        if (image.colorSpace() == Magick::CMYKColorspace)
            image.colorSpace(Magick::RGBColorspace);
        Picture picture(width, height);
        const bool alpha = image.matte();
        image.write(0, 0, image.columns(), image.rows(), "RGBA", Magick::CharPixel, picture.Data());
        if (!alpha) {
            std::uint8_t* p = picture.Data();
            for (std::size_t i = 3, n = std::size_t(width) * height * 4; i < n; i += 4)
                p[i] = 255;
        }
        picture.SetHasAlpha(alpha);
        picture.SetPalette(paletteOf(image, picture));
        return picture;
    } catch (...) {
        rethrowAsPictureError(source);
    }
}
