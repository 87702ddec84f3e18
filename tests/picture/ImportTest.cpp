#include "SampleFiles.h"

#include "picture/Picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ranges>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kSide = 16;
constexpr std::array<std::uint8_t, 2> kJpegFrame = {0xFF, 0xC0};              // baseline start of frame
constexpr std::array<std::uint8_t, 4> kCodestream = {0xFF, 0x4F, 0xFF, 0x51}; // JPEG 2000 SOC, SIZ

struct FormatCase {
    const char* name; // also the file name
    std::function<Bytes()> make;
    Picture expected;
    bool lossy = false;         // compare the quadrant centres within a tolerance only
    std::size_t unusedTail = 0; // trailing bytes no reader needs, left out when cutting
};

std::vector<FormatCase> formatCases() {
    const Picture opaque = MakePattern(kSide, kSide, false);
    const Picture clear = MakePattern(kSide, kSide, true);
    const Picture bilevel = MakeBilevelPattern(kSide, kSide);
    return {
        {"opaque.bmp", [=] { return WriteWithMagick(opaque, "BMP"); }, opaque},
        {"transparent.gif", [=] { return WriteWithMagick(clear, "GIF"); }, clear},
        {"photo.jpg", [=] { return WriteWithMagick(opaque, "JPEG"); }, opaque, true},
        // The writer appends a palette even to 24-bit files, where readers ignore it.
        {"opaque.pcx", [=] { return WriteWithMagick(opaque, "PCX"); }, opaque, false, 769},
        {"palette.pcx", [=] { return WriteWithMagick(opaque, "PCX", true); }, opaque},
        {"palette.bmp", [=] { return WriteWithMagick(opaque, "BMP", true); }, opaque},
        {"alpha.png", [=] { return WriteWithMagick(clear, "PNG"); }, clear},
        {"opaque.tga", [=] { return WriteWithMagick(opaque, "TGA"); }, opaque},
        {"alpha.tga", [=] { return WriteWithMagick(clear, "TGA"); }, clear},
        {"alpha.tif", [=] { return WriteWithMagick(clear, "TIFF"); }, clear},
        {"bilevel.wbmp", [=] { return WriteWithMagick(bilevel, "WBMP"); }, bilevel},
        {"lossless.jp2", [=] { return EncodeJpeg2000(clear, true); }, clear},
        {"lossless.j2k", [=] { return EncodeJpeg2000(opaque, false); }, opaque},
        {"lossy.jp2", [=] { return EncodeJpeg2000(opaque, true, 2.0f); }, opaque, true},
        {"png-inside.ico",
         [=] {
             return MakeIcon({{kSide, kSide, 32, clear.EncodePng()}});
         },
         clear},
        {"dib-inside.ico",
         [=] {
             return MakeIcon({{kSide, kSide, 32, MakeIconDib(clear)}});
         },
         clear},
    };
}

void expectQuadrantCentres(const Picture& actual, const Picture& expected, int tolerance) {
    for (const auto& [x, y] : {std::pair{4, 4}, {12, 4}, {4, 12}, {12, 11}}) {
        const Rgba a = actual.GetPixel(x, y);
        const Rgba e = expected.GetPixel(x, y);
        EXPECT_NEAR(a.r, e.r, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(a.g, e.g, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(a.b, e.b, tolerance) << "at " << x << "," << y;
        EXPECT_EQ(a.a, 255);
    }
}

// Loads a file that must be refused; checks the message and that the picture was left alone.
std::string refusal(const std::string& path) {
    Picture picture = MakePattern(3, 2, true);
    const Picture before = picture;
    try {
        picture.LoadFile(path);
    } catch (const PictureError& e) {
        EXPECT_EQ(picture, before);
        return e.what();
    }
    ADD_FAILURE() << path << " was accepted";
    return {};
}

TEST(Import, EachFormatGivesItsPixels) {
    TempFolder folder;
    for (const FormatCase& c : formatCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Write(c.name, c.make());
        Picture picture;
        ASSERT_NO_THROW(picture.LoadFile(path));
        ASSERT_EQ(picture.Width(), kSide);
        ASSERT_EQ(picture.Height(), kSide);
        EXPECT_EQ(picture.HasAlpha(), c.expected.HasAlpha());
        if (c.lossy)
            expectQuadrantCentres(picture, c.expected, 24);
        else
            EXPECT_EQ(MaxChannelDifference(picture, c.expected), 0);
    }
}

TEST(Import, TruncatedFilesAreRefusedAndChangeNothing) {
    TempFolder folder;
    for (const FormatCase& c : formatCases()) {
        const Bytes whole = c.make();
        const std::size_t needed = whole.size() - c.unusedTail;
        for (const std::size_t length : {std::size_t{1}, std::size_t{9}, needed / 4, needed / 2, needed * 3 / 4}) {
            SCOPED_TRACE(std::string(c.name) + " cut to " + std::to_string(length));
            const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
            const std::string path = folder.Write("cut-" + std::to_string(length) + "-" + c.name, cut);
            EXPECT_NE(refusal(path).find(path), std::string::npos);
        }
    }
}

TEST(Import, MetafileIsDrawn) {
    TempFolder folder;
    Picture picture;
    picture.LoadFile(folder.Write("two.wmf", MakeTwoColourMetafile(40, 20)));
    ASSERT_EQ(picture.Width(), 40);
    ASSERT_EQ(picture.Height(), 20);
    EXPECT_FALSE(picture.HasAlpha());
    EXPECT_EQ(picture.GetPixel(10, 10), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(picture.GetPixel(30, 10), (Rgba{0, 0, 255, 255}));

    const Bytes whole = MakeTwoColourMetafile(40, 20);
    for (const std::size_t length : {std::size_t{10}, std::size_t{30}, whole.size() / 2, whole.size() - 2}) {
        const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(length));
        EXPECT_NE(refusal(folder.Write("cut.wmf", cut)).find(" is damaged or truncated: "), std::string::npos)
            << length;
    }
}

Picture uniform(int w, int h, Rgba colour) {
    Picture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetPixel(x, y, colour);
    return p;
}

TEST(Import, SeveralPicturesInOneFile) {
    const Picture first = uniform(6, 4, {200, 0, 0, 255});
    const Picture second = uniform(10, 8, {0, 0, 200, 255});
    const Picture small = MakePattern(8, 8, true);
    const Picture large = MakePattern(24, 24, true);
    Picture shallow = large;
    shallow.SetPixel(5, 5, {1, 2, 3, 255});
    struct Case {
        const char* name;
        Bytes bytes;
        Picture expected;
    } cases[] = {
        {"animation.gif", WriteFramesWithMagick({first, second}, "GIF"), first}, // the first frame
        {"pages.tif", WriteFramesWithMagick({first, second}, "TIFF"), first},    // the first page
        {"sizes.ico", MakeIcon({{8, 8, 32, small.EncodePng()}, {24, 24, 32, MakeIconDib(large)}}), large},
        {"depths.ico", MakeIcon({{24, 24, 8, shallow.EncodePng()}, {24, 24, 32, large.EncodePng()}}), large},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture picture;
        ASSERT_NO_THROW(picture.LoadFile(folder.Write(c.name, c.bytes)));
        EXPECT_EQ(MaxChannelDifference(picture, c.expected), 0);
    }
}

TEST(Import, SignaturelessFilesGoByNameThenTga) {
    const Picture opaque = MakePattern(kSide, kSide, false);
    const Bytes tga = WriteWithMagick(opaque, "TGA");
    const Bytes wbmp = WriteWithMagick(MakeBilevelPattern(kSide, kSide), "WBMP");
    Bytes paddedWbmp = wbmp;
    paddedWbmp.push_back(0); // the size no longer adds up, so only the name says WBMP
    TempFolder folder;
    for (const auto& [name, bytes] :
         {std::pair{"no-extension", tga}, {"wrong.bmp", tga}, {"upper.TGA", tga}, {"padded.wbmp", paddedWbmp}}) {
        SCOPED_TRACE(name);
        Picture picture;
        ASSERT_NO_THROW(picture.LoadFile(folder.Write(name, bytes)));
        EXPECT_EQ(picture.Width(), kSide);
    }
}

template <std::size_t N> std::size_t find(const Bytes& bytes, const std::array<std::uint8_t, N>& what) {
    return std::size_t(std::search(bytes.begin(), bytes.end(), what.begin(), what.end()) - bytes.begin());
}

// The bytes with numbers `width` bytes wide written over them, in the byte order the format uses.
Bytes withNumbers(Bytes bytes, std::initializer_list<std::pair<std::size_t, std::uint32_t>> numbers, int width,
                  bool bigEndian) {
    for (const auto& [at, value] : numbers)
        for (int i = 0; i < width; ++i)
            bytes[at + std::size_t(bigEndian ? width - 1 - i : i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

// An encoded opaque JPEG 2000 sample declaring another picture and tile size, and its three components
// sampled only every `sampling` pixels, which makes the coded components still fit.
Bytes resizedJpeg2000(bool boxed, std::uint32_t side, std::uint32_t tileSide, std::uint8_t sampling = 1) {
    Bytes bytes = EncodeJpeg2000(MakePattern(kSide, kSide, false), boxed);
    const std::size_t at = find(bytes, kCodestream);
    bytes = withNumbers(bytes, {{at + 8, side}, {at + 12, side}, {at + 24, tileSide}, {at + 28, tileSide}}, 4, true);
    for (std::size_t c = 0; c < 3; ++c)
        bytes[at + 43 + 3 * c] = bytes[at + 44 + 3 * c] = sampling;
    return bytes;
}

std::string tooLarge(const std::string& path, const std::string& size) {
    return path + " is too large: " + size + " pixels (at most 4096 x 4096)";
}

TEST(Import, RefusalsSayWhy) {
    TempFolder folder;
    const std::string text = "this is a note, not a picture\n";
    const Bytes noise = [] {
        Bytes b;
        std::uint32_t s = 12345;
        for (int i = 0; i < 300; ++i) {
            s = s * 1103515245u + 12345u;
            b.push_back(static_cast<std::uint8_t>(s >> 16));
        }
        return b;
    }();
    Bytes notAnIcon = {0x00, 0x00, 0x08, 0x08, 0xE3, 0x5C, 0xE3, 0x1C}; // no icon directory behind the name
    notAnIcon.resize(88, 0xFF);
    // A FIFO with no writer would block a plain open for ever.
    const std::string fifo = folder.Path("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Pictures over the size limit in files of a few hundred bytes, and one file over the file limit.
    const Picture opaque = MakePattern(kSide, kSide, false);
    const Bytes jpeg = WriteWithMagick(opaque, "JPEG");
    const std::size_t frame = find(jpeg, kJpegFrame);
    const Bytes hugeJpeg = withNumbers(jpeg, {{frame + 5, 16384}, {frame + 7, 16384}}, 2, true);
    const Bytes hugeTga = withNumbers(WriteWithMagick(opaque, "TGA"), {{12, 16384}, {14, 16384}}, 2, false);
    const Bytes tiff = WriteWithMagick(opaque, "TIFF");
    const std::size_t ifd = tiff[4] | std::size_t{tiff[5]} << 8; // its first entries: width, height
    const Bytes hugeTiff = withNumbers(tiff, {{ifd + 10, 16384}, {ifd + 22, 16384}}, 2, false);
    // At 72 units an inch the frame is one unit a pixel; at one unit an inch each unit is 72 pixels.
    const Bytes hugeWmf = withNumbers(MakeTwoColourMetafile(40, 20), {{10, 32767}, {12, 32767}, {14, 1}}, 2, false);
    // OpenJPEG sets up every tile as it reads the header, and every code-block of a tile before decoding it.
    const Bytes tiles = resizedJpeg2000(false, 2048, 32);
    Bytes blocks = resizedJpeg2000(false, 2048, 2048);
    const std::size_t codingStyle = find(blocks, std::array<std::uint8_t, 2>{0xFF, 0x52});
    blocks[codingStyle + 10] = blocks[codingStyle + 11] = 0; // 4 x 4 code-blocks
    const std::string overFile = folder.Write("zeros.png", {});
    std::filesystem::resize_file(overFile, (64 << 20) + 1);
    Bytes jpegWithoutEnd = jpeg;
    jpegWithoutEnd.resize(jpegWithoutEnd.size() - 6); // decodable, but the reader fills in what is missing
    struct Case {
        std::string path;
        std::string expected;
    } cases[] = {
        {folder.Path("missing.png"), "cannot open " + folder.Path("missing.png") + ": No such file or directory"},
        {folder.Path(""), "cannot open " + folder.Path("") + ": Is a directory"},
        {folder.Write("empty.png", {}), folder.Path("empty.png") + " is empty"},
        {fifo, fifo + " is not a regular file"},
        {"/dev/null", "/dev/null is not a regular file"},
        {folder.Write("note.txt", Bytes(text.begin(), text.end())),
         folder.Path("note.txt") + " is not an image in a known format"},
        {folder.Write("noise", noise), folder.Path("noise") + " is not an image in a known format"},
        {folder.Write("zeros.gif", Bytes(200, 0)), folder.Path("zeros.gif") + " is not an image in a known format"},
        {folder.Write("note.tga", Bytes(text.begin(), text.end())),
         folder.Path("note.tga") + " is damaged or truncated: "},
        {folder.Write("short.ico", notAnIcon), folder.Path("short.ico") + " is not an image in a known format"},
        {folder.Write("tail.jpg", jpegWithoutEnd), folder.Path("tail.jpg") + " is damaged or truncated: "},
        {folder.Write("huge.png", MakeHugePngHeader(100000, 100000)),
         folder.Path("huge.png") + " is too large: 100000 x 100000 pixels"},
        {folder.Write("huge.bmp", MakeHugeBmpHeader(100000, 100000)),
         folder.Path("huge.bmp") + " is too large: 100000 x 100000 pixels"},
        {folder.Write("huge.j2k", resizedJpeg2000(false, 100000, 100000)),
         folder.Path("huge.j2k") + " is too large: 100000 x 100000 pixels"},
        {folder.Write("wide.png", MakeHugePngHeader(Picture::kMaxSide + 1, 1)),
         folder.Path("wide.png") + " is too large: 16385 x 1 pixels"},
        {folder.Write("bomb.png", MakeHugePngHeader(16384, 16384)), tooLarge(folder.Path("bomb.png"), "16384 x 16384")},
        {folder.Write("tall.png", MakeHugePngHeader(1, 4097)), tooLarge(folder.Path("tall.png"), "1 x 4097")},
        {folder.Write("bomb.jpg", hugeJpeg), tooLarge(folder.Path("bomb.jpg"), "16384 x 16384")},
        {folder.Write("bomb.tga", hugeTga), tooLarge(folder.Path("bomb.tga"), "16384 x 16384")},
        {folder.Write("bomb.tif", hugeTiff), tooLarge(folder.Path("bomb.tif"), "16384 x 16384")},
        {folder.Write("bomb.ico", MakeIcon({{256, 256, 32, MakeHugePngHeader(16384, 16384)}})),
         tooLarge(folder.Path("bomb.ico"), "16384 x 16384")},
        {folder.Write("bomb.wmf", hugeWmf), tooLarge(folder.Path("bomb.wmf"), "2359224 x 2359224")},
        {folder.Write("bomb.jp2", resizedJpeg2000(true, 16384, 16384)),
         tooLarge(folder.Path("bomb.jp2"), "16384 x 16384")},
        {folder.Write("tiles.j2k", tiles),
         folder.Path("tiles.j2k") + " is too large: it is cut into 4096 tiles (at most 1024)"},
        {folder.Write("blocks.j2k", blocks),
         folder.Path("blocks.j2k") + " is too large: it is cut into about 786432 code-blocks (at most 262144)"},
        {overFile, overFile + " is too large: 67108865 bytes (at most 67108864)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(refusal(c.path).substr(0, c.expected.size()), c.expected);
    }
    Picture edge; // the size limit itself passes
    EXPECT_NO_THROW(edge.LoadFile(folder.Write("edge.png", MakePattern(4096, 1, false).EncodePng())));
}

std::uint64_t addressSpaceInUse() {
    std::uint64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

// Runs `load` where the address space may grow by only 2 MiB more, as on a machine out of memory;
// ends with 3 and the message on stderr when it is refused.
[[noreturn]] void loadWithoutRoom(const std::function<void()>& load) {
    rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = addressSpaceInUse() + (2 << 20);
    ::setrlimit(RLIMIT_AS, &limit);
    try {
        load();
    } catch (const PictureError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        std::_Exit(3);
    }
    std::_Exit(0);
}

TEST(Import, RunningOutOfMemoryIsARefusal) {
    if (addressSpaceInUse() > std::uint64_t{1} << 40)
        GTEST_SKIP() << "a sanitizer has reserved the address space this test would limit";
    TempFolder folder;
    const std::string large = folder.Write("large.png", {}); // read whole before decoding, within the limit
    std::filesystem::resize_file(large, 60 << 20);
    // Each needs 4 MiB for the picture: OpenJPEG decodes only 16 x 16 samples of each component.
    const std::string jpeg2000 = folder.Write("sparse.j2k", resizedJpeg2000(false, 1024, 1024, 64));
    const Bytes png = Picture(1024, 1024).EncodePng();
    const struct {
        const char* what;
        std::function<void()> load;
    } cases[] = {
        {"whole file", [&] { Picture().LoadFile(large); }},
        {"JPEG 2000", [&] { Picture().LoadFile(jpeg2000); }},
        {"PNG data", [&] { Picture().DecodePng(png); }},
    };
    // A child forked from this process could grow unchecked into the heaps of its threads; a fresh
    // one has none.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& c : cases)
        EXPECT_EXIT(loadWithoutRoom(c.load), ::testing::ExitedWithCode(3),
                    "cannot be loaded: there is not enough memory")
            << c.what;
    GTEST_FLAG_SET(death_test_style, style);
    for (const auto& c : cases | std::views::drop(1)) // with room, they load
        EXPECT_NO_THROW(c.load()) << c.what;
}

} // namespace
