#include "TListItem.h"

#include "CBtn8Ctrl.h"
#include "CDataStore.h"
#include "CNumericCtrl.h"
#include "DecodeError.h"
#include "TLayout.h"

TListItem::TListItem(TLayout* owner_, std::u16string name_)
    : owner(owner_), pageId(owner_ != nullptr ? owner_->NextPageId() : -1), name(std::move(name_)) {}

std::unique_ptr<TListItem> TListItem::Create(TLayout* owner, std::int32_t kind) {
    switch (kind) {
    case kUserPage:
        return std::make_unique<TUserPage>(owner, u"");
    case kBtn8:
        return std::make_unique<CBtn8Ctrl>(owner, u"");
    case kNumeric:
        return std::make_unique<CNumericCtrl>(owner, u"");
    default:
        // Records carry no length, so nothing after an unknown page can be found.
        throw DecodeError("unknown page kind " + std::to_string(kind));
    }
}

std::vector<std::uint8_t> TListItem::Record() const {
    CDataStore ar;
    const_cast<TListItem*>(this)->Serialize(ar); // storing does not change the page
    const auto bytes = ar.Result();
    return {bytes.begin(), bytes.end()};
}

void TListItem::Restore(std::span<const std::uint8_t> record) {
    CDataStore ar(record);
    Serialize(ar);
}

void TListItem::CollectGlyphs() {
    if (owner != nullptr)
        owner->AddGlyphsFor(name);
}

void TListItem::Accept(TListItemVisitor&) {}

void TListItem::Accept(TConstListItemVisitor&) const {}

void TListItem::ForEachImageId(const ImageIdVisit&) const {}

void TListItem::ForEachImageReference(const ImageReferenceVisit&) {}

void TListItem::Serialize(CDataStore& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(kVersion);
        ar.WriteString(name);
        ar.WriteInt(pageId);
        return;
    }
    Apply(ReadCommon(ar));
}

TListItem::Common TListItem::ReadCommon(CDataStore& ar) {
    Common common;
    const std::int32_t version = ar.ReadInt();
    if (version <= 1)
        ar.ReadAnsiString(common.name, kLegacyNameBytes);
    else
        ar.ReadString(common.name);
    if (version >= 3)
        ar.ReadInt(common.pageId);
    return common;
}

void TListItem::Apply(Common&& common) {
    name = std::move(common.name);
    pageId = common.pageId;
}
