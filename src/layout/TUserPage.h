#pragma once

#include "TListItem.h"
#include "TUserFace.h"
#include "TUserObject.h"

#include <memory>
#include <vector>

// A freely designed page: a background face and objects, drawn first to last (last on top).
class TUserPage : public TListItem {
public:
    static constexpr std::int32_t kVersion = 1;

    TUserPage(TLayout* owner, std::u16string name);
    ~TUserPage() override;

    void Serialize(CDataStore& ar) override;
    void Accept(TListItemVisitor& visitor) override;
    void Accept(TConstListItemVisitor& visitor) const override;
    void ForEachImageId(const ImageIdVisit& visit) const override;
    void ForEachImageReference(const ImageReferenceVisit& visit) override;

    // Puts the object on top; returns it. A null object is ignored.
    TUserObject* AddObject(std::unique_ptr<TUserObject> object);
    // Takes the object off the page and hands it back; null when it is not on this page.
    std::unique_ptr<TUserObject> RemoveObject(const TUserObject* object);
    // The topmost object whose rectangle holds the point, or null.
    TUserObject* ObjectAt(int x, int y) const;
    // The object after `from` in drawing order, or before it when not `forward`; from null (or an
    // object not on this page) the first or the last. Null past either end.
    TUserObject* NextInOrder(const TUserObject* from, bool forward) const;
    // Moves the object to the bottom or the top of the drawing order.
    void Push(const TUserObject* object);
    void Pull(const TUserObject* object);

    TUserFace face;
    std::vector<std::unique_ptr<TUserObject>> objects;
};
