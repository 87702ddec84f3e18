#pragma once

#include "TImageReference.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CDataStore;
class TConstListItemVisitor;
class TLayout;
class TListItemVisitor;

// Base of the three page kinds. The page's kind is not part of its record: the layout writes
// it in front.
class TListItem {
public:
    enum Kind : std::int32_t { kUserPage = 8, kBtn8 = 9, kNumeric = 10 };

    static constexpr std::int32_t kVersion = 3;
    // Pages of versions 0 and 1 stored their name as old-style text in a buffer of this size.
    static constexpr std::int32_t kLegacyNameBytes = 252;

    // Takes the owner's next free page ID when there is an owner, else -1.
    TListItem(TLayout* owner, std::u16string name);
    virtual ~TListItem() = default;
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    // A page of the kind for the owner, to be read into; DecodeError for a kind we do not know.
    static std::unique_ptr<TListItem> Create(TLayout* owner, std::int32_t kind);

    // Writes or reads the common part; every kind handles it first, then its own record.
    virtual void Serialize(CDataStore& ar);
    // The page's record as Serialize writes it, and taking such a record back whole: undo keeps
    // pages this way, so a step restores exactly what was there. A damaged record throws
    // DecodeError and leaves the page as it was.
    std::vector<std::uint8_t> Record() const;
    void Restore(std::span<const std::uint8_t> record);
    // Asks the owner to render glyphs for the name's characters outside plain ASCII.
    virtual void CollectGlyphs();
    // Hands the page to the visitor's Visit for its kind. A bare TListItem is only the common part
    // of a record, not a page of any kind, and visits nothing.
    virtual void Accept(TListItemVisitor& visitor);
    virtual void Accept(TConstListItemVisitor& visitor) const;
    // Every image the page names, in the order a page file lists them; only user pages name any.
    virtual void ForEachImageId(const ImageIdVisit& visit) const;
    virtual void ForEachImageReference(const ImageReferenceVisit& visit);

    TLayout* owner = nullptr;
    std::int32_t kind = 0;
    std::int32_t pageId = -1;
    std::u16string name;

protected:
    // The common part as read, for kinds that take a record over only once all of it has been read.
    struct Common {
        std::u16string name;
        std::int32_t pageId = -1;
    };
    static Common ReadCommon(CDataStore& ar);
    void Apply(Common&& common);
};
