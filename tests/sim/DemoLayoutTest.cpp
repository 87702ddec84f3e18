#include "sim/DemoLayout.h"

#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const std::vector<std::uint8_t>& demoImage() {
    static const std::vector<std::uint8_t> image = DemoLayoutImage();
    return image;
}

// Every image ID a user page or the sleep page refers to, through faces and sliders.
std::set<std::int32_t> referencedImages(const TLayout& layout) {
    std::set<std::int32_t> ids;
    const auto visit = [&](const TUserPage& page) {
        if (page.face.kind == TUserFace::kImage)
            ids.insert(page.face.value);
        for (const auto& object : page.objects) {
            if (const auto* b = dynamic_cast<const TUserButton*>(object.get())) {
                for (const TUserFace* f : {&b->upFace, &b->downFace})
                    if (f->kind == TUserFace::kImage)
                        ids.insert(f->value);
            } else if (const auto* i = dynamic_cast<const TUserImage*>(object.get())) {
                if (i->face.kind == TUserFace::kImage)
                    ids.insert(i->face.value);
            } else if (const auto* l = dynamic_cast<const TUserLevel*>(object.get())) {
                ids.insert(l->sliderImageId);
            }
        }
    };
    for (const auto& page : layout.pages)
        if (const auto* user = dynamic_cast<const TUserPage*>(page.get()))
            visit(*user);
    if (layout.sleepPage)
        visit(*layout.sleepPage);
    return ids;
}

TEST(DemoLayout, DecodesIntoEveryPageKindObjectKindAndUserImages) {
    TLayout layout;
    std::string error;
    ASSERT_TRUE(layout.Decode(demoImage(), &error)) << error;
    EXPECT_LE(demoImage().size(), std::size_t{512000});

    std::map<std::int32_t, int> pageKinds;
    std::map<std::int32_t, int> objectKinds;
    bool nonAscii = false;
    bool selector = false;
    bool pinHotspot = false;
    std::set<std::int32_t> targets;
    for (const auto& page : layout.pages) {
        ++pageKinds[page->kind];
        for (const char16_t c : page->name)
            nonAscii |= c > 126;
        if (const auto* user = dynamic_cast<const TUserPage*>(page.get())) {
            for (const auto& object : user->objects) {
                ++objectKinds[object->kind];
                EXPECT_TRUE(object->left >= 0 && object->top >= 0 && object->left + object->width <= 320 &&
                            object->top + object->height <= 240)
                    << "object at (" << object->left << ", " << object->top << ") is cut off by the screen's edge";
                if (const auto* b = dynamic_cast<const TUserButton*>(object.get())) {
                    selector |= b->selectorId > 0;
                    EXPECT_TRUE(b->selectorId < 0 || b->toggle) << "a selector button is always a toggle";
                    if (b->entryPageId >= 0) {
                        ASSERT_NE(layout.FindPage(b->entryPageId), nullptr);
                        EXPECT_EQ(layout.FindPage(b->entryPageId)->kind, TListItem::kNumeric);
                    }
                }
                if (const auto* h = dynamic_cast<const TUserHotspot*>(object.get())) {
                    pinHotspot |= h->requirePin && !h->pin.empty();
                    targets.insert(h->targetPageId);
                }
            }
        }
    }
    for (const std::int32_t kind : {TListItem::kUserPage, TListItem::kBtn8, TListItem::kNumeric})
        EXPECT_GE(pageKinds[kind], 2) << "page kind " << kind;
    for (const std::int32_t kind :
         {TUserObject::kButton, TUserObject::kLevel, TUserObject::kImage, TUserObject::kHotspot})
        EXPECT_GE(objectKinds[kind], 1) << "object kind " << kind;
    EXPECT_TRUE(nonAscii);
    EXPECT_TRUE(selector);
    EXPECT_TRUE(pinHotspot);
    for (const std::int32_t target : targets)
        EXPECT_NE(layout.FindPage(target), nullptr) << "hot spot to page " << target;
    EXPECT_NE(layout.FindPage(layout.defaultPageId), nullptr);

    ASSERT_NE(layout.sleepPage, nullptr);
    EXPECT_EQ(layout.sleepPage->face.kind, TUserFace::kImage);
    for (const auto& object : layout.sleepPage->objects)
        EXPECT_EQ(object->kind, TUserObject::kImage) << "the sleep page takes image objects only";

    const auto used = referencedImages(layout);
    int userImages = 0;
    for (const auto& entry : layout.images) {
        if (!entry->IsUserImage())
            continue;
        ++userImages;
        ASSERT_NE(entry->Image(), nullptr) << entry->id;
        EXPECT_GT(entry->Image()->Width(), 0);
        EXPECT_TRUE(used.count(entry->id)) << "image " << entry->id << " is used by something";
    }
    EXPECT_GE(userImages, 3);
    EXPECT_TRUE(used.count(layout.sleepPage->face.value));
    EXPECT_GE(layout.sleepPage->face.value, 10000) << "the sleep page shows a drawn image";

    EXPECT_GT(layout.sleepTimeout, 0);
    EXPECT_NE(layout.EventText(0)[0], 0);
    EXPECT_NE(layout.EventDescription(0)[0], 0);
}

TEST(DemoLayout, IsTheSameOnEveryRun) {
    EXPECT_EQ(DemoLayoutImage(), demoImage());
}

} // namespace
