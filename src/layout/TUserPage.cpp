#include "TUserPage.h"

#include "CDataStore.h"
#include "TConstListItemVisitor.h"
#include "TListItemVisitor.h"

#include <algorithm>

TUserPage::TUserPage(TLayout* owner_, std::u16string name_) : TListItem(owner_, std::move(name_)) {
    kind = kUserPage;
}

TUserPage::~TUserPage() = default;

TUserObject* TUserPage::AddObject(std::unique_ptr<TUserObject> object) {
    if (!object)
        return nullptr;
    objects.push_back(std::move(object));
    return objects.back().get();
}

std::unique_ptr<TUserObject> TUserPage::RemoveObject(const TUserObject* object) {
    auto it = std::find_if(objects.begin(), objects.end(), [&](const auto& o) { return o.get() == object; });
    if (object == nullptr || it == objects.end())
        return nullptr;
    auto removed = std::move(*it);
    objects.erase(it);
    return removed;
}

TUserObject* TUserPage::ObjectAt(int x, int y) const {
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        if ((*it)->Contains(x, y))
            return it->get();
    }
    return nullptr;
}

TUserObject* TUserPage::NextInOrder(const TUserObject* from, bool forward) const {
    const auto count = static_cast<std::ptrdiff_t>(objects.size());
    const auto at = std::find_if(objects.begin(), objects.end(), [&](const auto& o) { return o.get() == from; });
    std::ptrdiff_t next = forward ? 0 : count - 1;
    if (from != nullptr && at != objects.end())
        next = (at - objects.begin()) + (forward ? 1 : -1);
    return next >= 0 && next < count ? objects[static_cast<std::size_t>(next)].get() : nullptr;
}

void TUserPage::Push(const TUserObject* object) {
    if (auto removed = RemoveObject(object))
        objects.insert(objects.begin(), std::move(removed));
}

void TUserPage::Pull(const TUserObject* object) {
    if (auto removed = RemoveObject(object))
        objects.push_back(std::move(removed));
}

void TUserPage::Serialize(CDataStore& ar) {
    if (ar.IsStoring()) {
        TListItem::Serialize(ar);
        ar.WriteInt(kVersion);
        face.Serialize(ar);
        for (const auto& object : objects) {
            ar.WriteInt(1);
            ar.WriteInt(object->kind);
            object->Serialize(ar);
        }
        ar.WriteInt(0);
        return;
    }
    Common common = ReadCommon(ar);
    ar.Skip(4);
    TUserFace newFace;
    newFace.Serialize(ar);
    std::vector<std::unique_ptr<TUserObject>> newObjects;
    // Any marker other than 1 ends the list.
    while (ar.ReadInt() == 1) {
        auto object = TUserObject::Create(ar.ReadInt());
        object->Serialize(ar);
        newObjects.push_back(std::move(object));
    }
    Apply(std::move(common));
    face.CopyFrom(newFace);
    objects = std::move(newObjects);
}

void TUserPage::Accept(TListItemVisitor& visitor) {
    visitor.Visit(*this);
}

void TUserPage::Accept(TConstListItemVisitor& visitor) const {
    visitor.Visit(*this);
}

void TUserPage::ForEachImageId(const ImageIdVisit& visit) const {
    face.ForEachImageId(visit);
    for (const auto& object : objects)
        object->ForEachImageId(visit);
}

void TUserPage::ForEachImageReference(const ImageReferenceVisit& visit) {
    face.ForEachImageReference(visit);
    for (const auto& object : objects)
        object->ForEachImageReference(visit);
}
