#include "SampleFiles.h"

#include "picture/Picture.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

constexpr int kSide = 16;

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
    Bytes hugeJ2k = EncodeJpeg2000(MakePattern(kSide, kSide, false), false);
    for (const std::size_t at : {8, 12, 24, 28}) { // Xsiz, Ysiz, XTsiz, YTsiz: one 100000 × 100000 tile
        hugeJ2k[at] = 0x00;
        hugeJ2k[at + 1] = 0x01;
        hugeJ2k[at + 2] = 0x86;
        hugeJ2k[at + 3] = 0xA0;
    }
    Bytes notAnIcon = {0x00, 0x00, 0x08, 0x08, 0xE3, 0x5C, 0xE3, 0x1C}; // no icon directory behind the name
    notAnIcon.resize(88, 0xFF);
    // A FIFO with no writer would block a plain open for ever.
    const std::string fifo = folder.Path("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Bytes jpegWithoutEnd = WriteWithMagick(MakePattern(kSide, kSide, false), "JPEG");
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
        {folder.Write("huge.j2k", hugeJ2k), folder.Path("huge.j2k") + " is too large: 100000 x 100000 pixels"},
        {folder.Write("wide.png", MakeHugePngHeader(Picture::kMaxSide + 1, 1)),
         folder.Path("wide.png") + " is too large: 16385 x 1 pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(refusal(c.path).substr(0, c.expected.size()), c.expected);
    }
}

} // namespace
