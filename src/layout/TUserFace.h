#pragma once

#include "TImageReference.h"

#include <cstdint>
#include <string>

class CDataStore;

// How a rectangle on a user page looks: a page background, an image object or one state of a button.
class TUserFace {
public:
    enum Kind : std::int32_t { kBlank = 0, kButtonFace = 1, kImage = 2, kColor = 7 };
    enum GradientKind : std::int32_t { kSingleColor = 1, kLeftToRight = 2, kTopToBottom = 3, kRadial = 4 };
    enum TextSize : std::int32_t { kSmall = 1, kMedium = 2, kLarge = 3, kTiny = 4 };

    static constexpr std::int32_t kVersion = 3;

    TUserFace() = default;
    virtual ~TUserFace() = default;
    // Copies go through CopyFrom so the import mark never travels with them.
    TUserFace(const TUserFace&) = delete;
    TUserFace& operator=(const TUserFace&) = delete;

    void CopyFrom(const TUserFace& other);
    virtual void Serialize(CDataStore& ar);
    // The image the face shows, when it shows one: only a face of kind kImage names an image.
    void ForEachImageId(const ImageIdVisit& visit) const;
    void ForEachImageReference(const ImageReferenceVisit& visit);

    std::int32_t kind = kBlank;
    // kButtonFace: built-in face image ID; kImage: any image ID; kColor: gradient kind.
    std::int32_t value = 0;
    // Set while a page file is imported so each reference is renumbered once; never stored or copied.
    std::int32_t importMark = 0;
    std::int32_t color1 = 0;
    std::int32_t color2 = 0;
    std::int32_t textColor = 0;
    std::u16string text;
    std::int32_t textSize = kMedium;
};
