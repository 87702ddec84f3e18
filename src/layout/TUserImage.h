#pragma once

#include "TUserFace.h"
#include "TUserObject.h"

#include <cstdint>

// A plain picture (or colour, or caption) on a page.
class TUserImage : public TUserObject {
public:
    static constexpr std::int32_t kVersion = 1;

    TUserImage() : TUserObject(kImage) {}
    ~TUserImage() override = default;

    void Serialize(CDataStore& ar) override;
    void Accept(TUserObjectVisitor& visitor) override;
    void Accept(TConstUserObjectVisitor& visitor) const override;
    void ForEachImageId(const ImageIdVisit& visit) const override;
    void ForEachImageReference(const ImageReferenceVisit& visit) override;

    TUserFace face;
};
