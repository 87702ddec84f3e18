#pragma once

#include "TUserFace.h"
#include "TUserObject.h"

#include <array>
#include <cstdint>

// A button that sends its down and up event texts; with a selector ID it is one of a group of
// selector buttons.
class TUserButton : public TUserObject {
public:
    static constexpr std::int32_t kVersion = 4;
    // Written before the hold time so an old reader's garbage there is recognised.
    static constexpr std::int32_t kCheckValue = static_cast<std::int32_t>(0xABADCAD0u);
    // Records of versions 1 and 2 held this many bytes of each event text.
    static constexpr std::size_t kOldEventBytes = 80;

    TUserButton() : TUserObject(kButton) {}
    ~TUserButton() override = default;

    void Serialize(CDataStore& ar) override;
    void Accept(TUserObjectVisitor& visitor) override;
    void Accept(TConstUserObjectVisitor& visitor) const override;
    void ForEachImageId(const ImageIdVisit& visit) const override;
    void ForEachImageReference(const ImageReferenceVisit& visit) override;

    TUserFace upFace;
    TUserFace downFace;
    std::int32_t selectorId = -1; // 1..20 for a selector button
    std::int32_t reserved2 = -1;
    bool toggle = false;
    std::array<std::uint8_t, 256> downEvent{};
    std::array<std::uint8_t, 248> upEvent{};
    std::int32_t entryPageId = -1; // the data-entry page it opens; -1 = the panel's own
    std::int32_t holdTime = 0;
};
