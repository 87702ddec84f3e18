#pragma once

#include "TUserObject.h"

#include <cstdint>

// A level slider.
class TUserLevel : public TUserObject {
public:
    static constexpr std::int32_t kVersion = 1;
    static constexpr std::int32_t kDefaultSliderImage = 2; // the built-in slider composite

    TUserLevel() : TUserObject(kLevel) {}

    void Serialize(CDataStore& ar) override;
    void Accept(TUserObjectVisitor& visitor) override;
    void Accept(TConstUserObjectVisitor& visitor) const override;
    void ForEachImageId(const ImageIdVisit& visit) const override;
    void ForEachImageReference(const ImageReferenceVisit& visit) override;

    std::int32_t controlId = -1;
    std::int32_t sliderImageId = kDefaultSliderImage;
    // Set while a page file is imported so the image reference is renumbered once; never stored.
    std::uint8_t importMark = 0;
};
