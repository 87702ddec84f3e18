#include "TListItem.h"

#include "CDataStore.h"
#include "TLayout.h"

TListItem::TListItem(TLayout* owner_, std::u16string name_)
    : owner(owner_), pageId(owner_ != nullptr ? owner_->NextPageId() : -1), name(std::move(name_)) {}

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
