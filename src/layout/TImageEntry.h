#pragma once

#include "Guid.h"
#include "picture/Picture.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataStore;
class PixelBudget;

// One image of the layout's image list. User images (IDs from 10000) own their pixels and travel
// in the layout as PNG; built-in images borrow theirs from the program's library.
class TImageEntry {
public:
    static constexpr std::int32_t kVersion = 2;
    static constexpr std::int32_t kFirstUserId = 10000;
    // What one layout or page file may decode. The panel shows 320 x 240 and imports are fitted to
    // that, so these leave ample room while a few crafted bytes cannot claim gigabytes.
    static constexpr int kMaxSide = 4096;
    static constexpr std::int64_t kPixelsPerLayout = std::int64_t{2} * kMaxSide * kMaxSide;

    TImageEntry() = default;
    TImageEntry(const TImageEntry&) = delete;
    TImageEntry& operator=(const TImageEntry&) = delete;

    // A fresh budget for decoding the images of one layout or page file.
    static PixelBudget LayoutBudget();

    // Null when the entry has no picture.
    const Picture* Image() const { return image; }
    void SetImage(std::unique_ptr<Picture> picture);
    void BorrowImage(const Picture* picture);
    bool IsUserImage() const { return id >= kFirstUserId; }
    // The stored PNG of an entry whose picture was not decoded (damaged, or beyond the budget): it
    // draws as nothing but is written back unchanged, so a download and an upload never lose it.
    // Empty for every other entry; giving the entry a picture drops it.
    const std::vector<std::uint8_t>& KeptPng() const;
    // The PNG the entry writes: the bytes it was read with for as long as its picture is the one
    // read from them, so a stored file keeps its bytes through a load and a save; else its picture
    // encoded. Empty when there is neither.
    std::vector<std::uint8_t> Png() const;

    // Loading decodes the PNG within `budget`; without one, within a budget of its own.
    void Serialize(CDataStore& ar, PixelBudget* budget = nullptr);

    std::int32_t id = -1;
    bool used = false; // scratch mark of the unused-image purge
    std::u16string description;
    Guid guid{};

private:
    std::unique_ptr<Picture> owned;
    const Picture* image = nullptr;
    // The PNG of `image` as read or as first written; dropped whenever the picture is replaced.
    std::vector<std::uint8_t> png;
};
