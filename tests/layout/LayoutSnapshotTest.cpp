#include "layout/LayoutSnapshot.h"
#include "RichLayout.h"
#include "layout/TLayout.h"
#include "layout/TUserImage.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The GUID of each image the page names, in order; a missing image shows as a zero GUID.
std::vector<Guid> namedImages(const TLayout& layout, const TListItem& page) {
    std::vector<Guid> guids;
    page.ForEachImageId([&](std::int32_t id) {
        const TImageEntry* entry = layout.FindImage(id);
        guids.push_back(entry != nullptr ? entry->guid : Guid{});
    });
    return guids;
}

TEST(LayoutSnapshot, RemovedPagesComeBackWithTheirImages) {
    const struct {
        const char* name;
        std::function<void(TLayout&)> meanwhile;
        bool layoutAsBefore;
    } cases[] = {
        {"nothing else happened", {}, true},
        {"a save purged their images", [](TLayout& l) { l.PurgeUnusedImages(); }, true},
        {"a save purged them and new images came",
         [](TLayout& l) {
             l.PurgeUnusedImages();
             AddTestImage(l, 8);
             AddTestImage(l, 9);
         },
         false},
    };
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < 3; ++i) {
            TLayout layout;
            MakeRichLayout(layout);
            // As a save leaves it.
            layout.PurgeUnusedImages();
            const std::vector<std::uint8_t> before = Snapshot(layout);
            const std::vector<Guid> images = namedImages(layout, *layout.pages[i]);
            const std::vector<std::uint8_t> snapshot = SnapshotPage(layout, *layout.pages[i]);
            layout.RemovePage(layout.pages[i].get());
            if (c.meanwhile)
                c.meanwhile(layout);
            const TListItem& back = RestorePageAt(layout, snapshot, i);
            EXPECT_EQ(layout.pages[i].get(), &back) << c.name << " " << i;
            EXPECT_EQ(namedImages(layout, back), images) << c.name << " " << i;
            if (c.layoutAsBefore) {
                EXPECT_EQ(Snapshot(layout), before) << c.name << " " << i;
            }
        }
    }
}

TEST(LayoutSnapshot, AnImageWhoseIdWasTakenComesBackUnderANewOne) {
    TLayout layout;
    auto& page = static_cast<TUserPage&>(*layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"P"), nullptr));
    auto image = std::make_unique<TUserImage>();
    image->face.kind = TUserFace::kImage;
    image->face.value = AddTestImage(layout, 1);
    page.AddObject(std::move(image));
    const std::vector<std::uint8_t> snapshot = SnapshotPage(layout, page);
    const std::vector<Guid> images = namedImages(layout, page);
    layout.RemovePage(&page);
    layout.PurgeUnusedImages();
    const std::int32_t taken = AddTestImage(layout, 2);
    const TListItem& back = RestorePageAt(layout, snapshot, 5);
    EXPECT_EQ(namedImages(layout, back), images);
    EXPECT_EQ(static_cast<const TUserPage&>(back).objects[0]->kind, TUserObject::kImage);
    EXPECT_NE(layout.FindImage(taken)->guid, images[0]);
}

TEST(LayoutSnapshot, LayoutComesBackExactlyAfterClearAllOrALoad) {
    const std::function<void(TLayout&)> changes[] = {
        [](TLayout& l) { l.ClearAll(); },
        [](TLayout& l) {
            TLayout other;
            other.controlName = u"Other";
            AddTestImage(other, 7);
            ASSERT_TRUE(l.Decode(*other.Encode(TLayout::kUploadCapacity)));
        },
    };
    for (const auto& change : changes) {
        TLayout layout;
        MakeRichLayout(layout);
        const std::vector<std::uint8_t> before = Snapshot(layout);
        const std::vector<std::uint8_t> snapshot = SnapshotLayout(layout);
        change(layout);
        ASSERT_NE(Snapshot(layout), before);
        RestoreLayout(layout, snapshot);
        EXPECT_EQ(Snapshot(layout), before);
        EXPECT_EQ(SnapshotLayout(layout), snapshot);
    }
}

} // namespace
