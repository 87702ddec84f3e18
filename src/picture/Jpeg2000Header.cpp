#include "Jpeg2000Header.h"

#include "Picture.h"
#include "PictureLimits.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

// A legitimate picture at the size limit needs far fewer: 128 x 128 tiles, or 32 x 32 code-blocks in
// four components. OpenJPEG spends about 13 KiB on each tile and 300 bytes on each code-block.
constexpr std::uint64_t kMaxTiles = 1024;
constexpr std::uint64_t kMaxCodeBlocks = std::uint64_t{1} << 18;

constexpr std::uint16_t kSot = 0xFF90;
constexpr std::uint16_t kSod = 0xFF93;
constexpr std::uint16_t kCod = 0xFF52;
constexpr std::uint16_t kCoc = 0xFF53;
constexpr std::uint16_t kEoc = 0xFFD9;

// Reads past the end give 0, which is no marker and no valid length, so the walk stops there.
std::uint32_t be16(std::span<const std::uint8_t> b, std::size_t at) {
    if (at >= b.size() || b.size() - at < 2)
        return 0;
    return std::uint32_t{b[at]} << 8 | b[at + 1];
}
std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at) {
    return be16(b, at) << 16 | be16(b, at + 2);
}
std::uint64_t be64(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint64_t{be32(b, at)} << 32 | be32(b, at + 4);
}

[[noreturn]] void damaged(const std::string& source, const std::string& reason) {
    throw PictureError(DamagedMessage(source, reason));
}

// The codestream: all of a bare one; in a JP2 file, the contents of the codestream box.
std::span<const std::uint8_t> findCodestream(std::span<const std::uint8_t> bytes, bool boxed,
                                             const std::string& source) {
    if (!boxed)
        return bytes;
    std::size_t at = 0;
    while (bytes.size() - at >= 8) {
        const std::uint64_t available = bytes.size() - at;
        std::uint64_t length = be32(bytes, at);
        std::uint64_t header = 8;
        if (length == 1 && available >= 16) {
            length = be64(bytes, at + 8);
            header = 16;
        } else if (length == 0) {
            length = available; // the last box
        }
        if (length < header)
            break;
        if (be32(bytes, at + 4) == 0x6A703263) // "jp2c"
            return bytes.subspan(at + header, std::min(length, available) - header);
        if (length > available)
            break;
        at += length;
    }
    damaged(source, "no codestream was found in it");
}

// How one component of a tile is cut up: decomposition levels, code-block size and precinct sizes,
// all as powers of two.
struct Coding {
    unsigned levels = 5;
    unsigned blockWidth = 6;
    unsigned blockHeight = 6;
    std::array<std::uint8_t, 33> precinctWidth{};
    std::array<std::uint8_t, 33> precinctHeight{};
    Coding() {
        precinctWidth.fill(15);
        precinctHeight.fill(15);
    }
};

// Reads the coding parameters of a COD or COC segment: at `at`, with `end` the segment's end.
Coding readCoding(std::span<const std::uint8_t> cs, std::size_t at, std::size_t end, bool precincts,
                  const std::string& source) {
    if (end - at < 5)
        damaged(source, "a coding style segment is too short");
    Coding coding;
    coding.levels = cs[at];
    const unsigned xcb = cs[at + 1];
    const unsigned ycb = cs[at + 2];
    if (coding.levels > 32 || xcb > 8 || ycb > 8 || xcb + ycb > 8)
        damaged(source, "a coding style segment is invalid");
    coding.blockWidth = xcb + 2;
    coding.blockHeight = ycb + 2;
    if (precincts) {
        if (end - at - 5 < coding.levels + 1)
            damaged(source, "a coding style segment is too short");
        for (unsigned r = 0; r <= coding.levels; ++r) {
            coding.precinctWidth[r] = cs[at + 5 + r] & 0x0F;
            coding.precinctHeight[r] = cs[at + 5 + r] >> 4;
        }
    }
    return coding;
}

// The coding styles of one header: the default and each component's own.
struct Styles {
    std::optional<Coding> all;
    std::vector<std::optional<Coding>> own;
};

// Reads the segments of a main or tile-part header from `at` up to the marker that ends it, which is
// returned with its position. Segments other than COD and COC are only skipped.
std::size_t readHeader(std::span<const std::uint8_t> cs, std::size_t at, std::uint16_t endMarker, Styles& styles,
                       const std::string& source) {
    const std::size_t components = styles.own.size();
    while (cs.size() - at >= 2 && be16(cs, at) != endMarker) {
        if (cs.size() - at < 4 || (cs[at] != 0xFF) || be16(cs, at + 2) < 2 || cs.size() - at - 2 < be16(cs, at + 2))
            damaged(source, "a header segment is cut short");
        const std::uint16_t marker = static_cast<std::uint16_t>(be16(cs, at));
        const std::size_t end = at + 2 + be16(cs, at + 2);
        if (marker == kCod) {
            // Scod, then progression order, layers and colour transform, then the coding parameters.
            if (end - at < 9)
                damaged(source, "a coding style segment is too short");
            styles.all = readCoding(cs, at + 9, end, (cs[at + 4] & 1) != 0, source);
        } else if (marker == kCoc) {
            // The component's index takes one byte with fewer than 257 components, as here; then Scoc.
            if (end - at < 6)
                damaged(source, "a coding style segment is too short");
            const std::size_t index = cs[at + 4];
            if (index >= components)
                damaged(source, "a coding style names a component it does not have");
            styles.own[index] = readCoding(cs, at + 6, end, (cs[at + 5] & 1) != 0, source);
        }
        at = end;
    }
    return at;
}

std::uint64_t ceilShift(std::uint64_t value, unsigned shift) {
    return (value + (std::uint64_t{1} << shift) - 1) >> shift;
}

// About how many code-blocks one component of a tile this size is cut into.
std::uint64_t codeBlocks(const Coding& coding, std::uint64_t width, std::uint64_t height) {
    std::uint64_t count = 0;
    for (unsigned r = 0; r <= coding.levels; ++r) {
        // Resolution 0 is the one low-pass band; each level above adds three bands of half its size.
        const unsigned shrink = coding.levels - r + (r > 0 ? 1 : 0);
        const unsigned bands = r > 0 ? 3 : 1;
        // Above resolution 0 a precinct holds code-blocks of both halves, so they are half its size.
        const int halve = r > 0 ? 1 : 0;
        const unsigned cbw = std::min(coding.blockWidth, unsigned(std::max(coding.precinctWidth[r] - halve, 0)));
        const unsigned cbh = std::min(coding.blockHeight, unsigned(std::max(coding.precinctHeight[r] - halve, 0)));
        count += bands * ceilShift(ceilShift(width, shrink), cbw) * ceilShift(ceilShift(height, shrink), cbh);
    }
    return count;
}

} // namespace

void RequireJpeg2000WithinLimits(std::span<const std::uint8_t> bytes, bool boxed, const std::string& source) {
    const std::span<const std::uint8_t> cs = findCodestream(bytes, boxed, source);
    // The image and tile size segment comes right after the start of the codestream.
    if (cs.size() < 6 || be32(cs, 0) != 0xFF4FFF51 || be16(cs, 4) < 41 || cs.size() - 4 < be16(cs, 4))
        damaged(source, "its image size header is missing or cut short");
    const std::uint64_t xsiz = be32(cs, 8);
    const std::uint64_t ysiz = be32(cs, 12);
    const std::uint64_t xosiz = be32(cs, 16);
    const std::uint64_t yosiz = be32(cs, 20);
    const std::uint64_t xtsiz = be32(cs, 24);
    const std::uint64_t ytsiz = be32(cs, 28);
    const std::uint64_t xtosiz = be32(cs, 32);
    const std::uint64_t ytosiz = be32(cs, 36);
    const std::uint32_t components = be16(cs, 40);
    if (xsiz <= xosiz || ysiz <= yosiz)
        damaged(source, "it declares an empty picture");
    RequireImportSize(source, static_cast<std::int64_t>(xsiz - xosiz), static_cast<std::int64_t>(ysiz - yosiz));
    if (components == 0 || components > 4)
        damaged(source, "it has " + std::to_string(components) + " colour components; one to four can be imported");
    if (xtsiz == 0 || ytsiz == 0 || xtosiz > xosiz || ytosiz > yosiz || xtosiz + xtsiz <= xosiz ||
        ytosiz + ytsiz <= yosiz)
        damaged(source, "its tiles do not cover the picture");
    const std::uint64_t tiles = ((xsiz - xtosiz + xtsiz - 1) / xtsiz) * ((ysiz - ytosiz + ytsiz - 1) / ytsiz);
    if (tiles > kMaxTiles)
        throw PictureError(source + " is too large: it is cut into " + std::to_string(tiles) + " tiles (at most " +
                           std::to_string(kMaxTiles) + ")");

    // Every coding style the main and tile-part headers set; each component is counted at its finest.
    Styles main;
    main.own.resize(components);
    std::size_t at = readHeader(cs, 4 + be16(cs, 4), kSot, main, source);
    std::vector<std::uint64_t> finest(components, 0);
    const std::uint64_t tileWidth = std::min(xtsiz, xsiz - xosiz);
    const std::uint64_t tileHeight = std::min(ytsiz, ysiz - yosiz);
    auto count = [&](const Styles& tile) {
        for (std::uint32_t c = 0; c < components; ++c) {
            const Coding coding =
                tile.own[c].value_or(tile.all.value_or(main.own[c].value_or(main.all.value_or(Coding()))));
            finest[c] = std::max(finest[c], codeBlocks(coding, tileWidth, tileHeight));
        }
    };
    count(main);
    // Each tile-part: SOT, its length from SOT on (0 for the last), its header up to SOD, its data.
    while (cs.size() - at >= 12 && be16(cs, at) == kSot) {
        const std::uint64_t length = be32(cs, at + 6);
        Styles tile;
        tile.own.resize(components);
        if (readHeader(cs, at + 12, kSod, tile, source) >= cs.size())
            break;
        count(tile);
        if (length < 12 || length >= cs.size() - at)
            break;
        at += length;
        if (cs.size() - at < 2 || be16(cs, at) == kEoc)
            break;
    }
    std::uint64_t blocks = 0;
    for (const std::uint64_t n : finest)
        blocks += n * tiles;
    if (blocks > kMaxCodeBlocks)
        throw PictureError(source + " is too large: it is cut into about " + std::to_string(blocks) +
                           " code-blocks (at most " + std::to_string(kMaxCodeBlocks) + ")");
}
