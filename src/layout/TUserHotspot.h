#pragma once

#include "TUserObject.h"

#include <cstdint>
#include <string>

// An invisible area that switches to another page, optionally behind a PIN.
class TUserHotspot : public TUserObject {
public:
    static constexpr std::int32_t kVersion = 2;

    TUserHotspot() : TUserObject(kHotspot) {}
    ~TUserHotspot() override = default;

    void Serialize(CDataStore& ar) override;
    void Accept(TUserObjectVisitor& visitor) override;
    void Accept(TConstUserObjectVisitor& visitor) const override;

    std::int32_t targetPageId = -1;
    bool requirePin = false;
    std::u16string pin;
};
