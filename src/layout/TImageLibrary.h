#pragma once

#include "TGlyph.h"
#include "picture/Picture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct TLibraryImage {
    static constexpr std::int32_t kFormatPng = 4;
    std::int32_t id = 0;
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;
    // Absent when the stored data could not be decoded.
    std::unique_ptr<Picture> image;
};

struct TLibraryString {
    std::int32_t id = 0;
    std::u16string text;
};

struct TLibraryStyle {
    std::int32_t id = 0;
    std::int32_t kind = 1;
    std::array<std::uint8_t, 7> b = {0, 0, 0, 0, 255, 255, 255};
};

// The program's own pictures and ASCII glyphs, read once from the block compiled into it.
// Each list is in list order: the reverse of the stored order, as every record read goes to the front.
class TImageLibrary {
public:
    static constexpr std::int32_t kMagic = 0x0ABCDEF0;
    static constexpr std::int32_t kVersion = 1;

    // Reads a library block. A block with the wrong magic leaves the library empty; a block that
    // ends inside a list ends that list and the ones after it.
    void Read(std::span<const std::uint8_t> block);
    // The block form of this library, lists in stored order (each list written back to front).
    std::vector<std::uint8_t> Write() const;

    // The first glyph in list order with that size key and code, or null.
    const TGlyph* FindGlyph(std::int32_t sizeKey, std::int32_t code) const;

    std::vector<std::unique_ptr<TLibraryImage>> images;
    std::vector<std::unique_ptr<TLibraryString>> texts;
    std::vector<std::unique_ptr<TLibraryStyle>> styles;
    std::vector<std::unique_ptr<TGlyph>> glyphs;
};

// The block compiled into the program.
std::span<const std::uint8_t> BuiltinLibraryBlock();
