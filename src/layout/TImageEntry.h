#pragma once

#include "Guid.h"
#include "picture/Picture.h"

#include <cstdint>
#include <memory>
#include <string>

class CDataStore;

// One image of the layout's image list. User images (IDs from 10000) own their pixels and travel
// in the layout as PNG; built-in images borrow theirs from the program's library.
class TImageEntry {
public:
    static constexpr std::int32_t kVersion = 2;
    static constexpr std::int32_t kFirstUserId = 10000;

    TImageEntry() = default;
    TImageEntry(const TImageEntry&) = delete;
    TImageEntry& operator=(const TImageEntry&) = delete;

    // Null when the entry has no picture.
    const Picture* Image() const { return image; }
    void SetImage(std::unique_ptr<Picture> picture);
    void BorrowImage(const Picture* picture);
    bool IsUserImage() const { return id >= kFirstUserId; }

    void Serialize(CDataStore& ar);

    std::int32_t id = -1;
    bool used = false; // scratch mark of the unused-image purge
    std::u16string description;
    Guid guid{};

private:
    std::unique_ptr<Picture> owned;
    const Picture* image = nullptr;
};
