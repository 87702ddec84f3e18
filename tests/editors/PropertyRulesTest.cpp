#include "editors/dialogs/PropertyRules.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>

namespace {

QStringList texts(const EntryList& list) {
    QStringList shown;
    for (const ListEntry& entry : list.entries)
        shown.push_back(entry.text);
    return shown;
}

// Appends a page of the kind with the name and ID.
TListItem& addPage(TLayout& layout, std::int32_t kind, const char16_t* name, std::int32_t id) {
    std::unique_ptr<TListItem> page;
    if (kind == TListItem::kNumeric)
        page = std::make_unique<CNumericCtrl>(&layout, name);
    else if (kind == TListItem::kBtn8)
        page = std::make_unique<CBtn8Ctrl>(&layout, name);
    else
        page = std::make_unique<TUserPage>(&layout, name);
    page->pageId = id;
    return *layout.InsertPageAfter(std::move(page), nullptr);
}

std::int32_t addPicture(TLayout& layout, int width, int height) {
    return layout.AddUserImage(u"picture", std::make_unique<Picture>(width, height)).id;
}

TEST(PropertyRules, SortedListsOrderWithoutCaseAndKeepTiesInOrderOfAdding) {
    EntryListBuilder builder(true);
    builder.Add({"kitchen", 1});
    builder.Add({"Attic", 2}, true);
    builder.Add({"Kitchen", 3});
    builder.Add({"Bath", 4});
    builder.Add({"", 5});
    const EntryList list = builder.Take();
    EXPECT_EQ(texts(list), (QStringList{"", "Attic", "Bath", "kitchen", "Kitchen"}));
    EXPECT_EQ(list.entries[3].number, 1);
    EXPECT_EQ(list.entries[4].number, 3);
    // The selection follows its entry as others are put in front of it.
    EXPECT_EQ(list.selected, 1);

    EXPECT_EQ(SortedInsertRow({}, "x"), 0);
    EXPECT_EQ(SortedInsertRow({"a", "c"}, "B"), 1);
    EXPECT_EQ(SortedInsertRow({"a", "c"}, "C"), 2);
}

TEST(PropertyRules, UnsortedListsKeepTheOrderOfAddingAndTheLastSelectionWins) {
    EntryListBuilder builder(false);
    builder.Add({"z", 1}, true);
    builder.Add({"a", 2}, true);
    builder.Add({"m", 3});
    const EntryList list = builder.Take();
    EXPECT_EQ(texts(list), (QStringList{"z", "a", "m"}));
    EXPECT_EQ(list.selected, 1);
}

TEST(PropertyRules, EntryPageListOffersOnlyDataEntryPages) {
    TLayout layout;
    EntryList bare = EntryPageList(&layout, -1);
    EXPECT_EQ(texts(bare), QStringList{"Default Data Entry"});
    EXPECT_EQ(bare.entries[0].number, -1);
    EXPECT_EQ(bare.selected, 0);

    addPage(layout, TListItem::kUserPage, u"Living Room", 10000);
    addPage(layout, TListItem::kNumeric, u"Keypad", 10001);
    addPage(layout, TListItem::kBtn8, u"Scenes", 10002);
    addPage(layout, TListItem::kNumeric, u"Alarm Code", 10003);
    struct Case {
        std::int32_t entryPageId;
        int selected;
    };
    const Case cases[] = {{-1, 1}, {10001, 2}, {10003, 0}, {10000, 1}, {12345, 1}};
    for (const Case& c : cases) {
        const EntryList list = EntryPageList(&layout, c.entryPageId);
        EXPECT_EQ(texts(list), (QStringList{"Alarm Code", "Default Data Entry", "Keypad"}));
        EXPECT_EQ(list.selected, c.selected) << c.entryPageId;
    }
    EXPECT_EQ(EntryPageList(&layout, 10003).entries[0].number, 10003);
    EXPECT_EQ(texts(EntryPageList(nullptr, -1)), QStringList{"Default Data Entry"});
}

TEST(PropertyRules, HotspotListOffersEveryOtherPageSortedWithReturnToPrevious) {
    TLayout layout;
    addPage(layout, TListItem::kUserPage, u"Terrace", 10000);
    addPage(layout, TListItem::kNumeric, u"keypad", 10001);
    addPage(layout, TListItem::kBtn8, u"Scenes", 10002);
    addPage(layout, TListItem::kUserPage, u"Attic", 10003);
    addPage(layout, TListItem::kUserPage, u"Zero", 0);
    const QStringList others{"Attic", "keypad", "Return to Previous", "Scenes", "Zero"};
    struct Case {
        std::int32_t target;
        int selected;
    };
    // 10000 is the hot spot's own page: never offered, so never selected.
    // 0 and below never select a page, even one with that ID.
    const Case cases[] = {{2, 2}, {10002, 3}, {10003, 0}, {-1, -1}, {10000, -1}, {10999, -1}, {0, -1}};
    for (const Case& c : cases) {
        const EntryList list = HotspotPageList(&layout, 10000, c.target);
        EXPECT_EQ(texts(list), others);
        EXPECT_EQ(list.selected, c.selected) << c.target;
    }
    const EntryList list = HotspotPageList(&layout, 10000, -1);
    EXPECT_EQ(list.entries[2].number, 2);
    EXPECT_EQ(list.entries[1].number, 10001);
    EXPECT_TRUE(HotspotPageList(nullptr, 10000, 2).entries.empty());
}

TEST(PropertyRules, ControlIdsAreTheTwoMixersChannelsInOrder) {
    // Every entry in list order, the spellings as the panel's owners know them.
    const ListEntry expected[] = {
        {"Model A: Input 1", 0},          {"Model A: Input 2", 1},          {"Model A: Input 3", 2},
        {"Model A: Input 4", 3},          {"Model A: Input 5", 4},          {"Model A: Link In", 5},
        {"Model A: Speaker A", 6},        {"Model A: Speaker B", 7},        {"Model A: Remote Ctnrl 1", 8},
        {"Model A: Remote Cntrl 2", 9},   {"Model A: Line Out", 10},        {"Model A: N/A", 11},
        {"Model B: Remote Port 1", 100},  {"Model B: Remote Port 2", 101},  {"Model B: Remote Port 3", 102},
        {"Model B: Expansion In", 103},   {"Model B: Input 5", 104},        {"Model B: Input 6", 105},
        {"Model B: Link In", 106},        {"Model B: Speaker A", 107},      {"Model B: Remote Ctnrl 1", 108},
        {"Model B: Remote Cntrl 2", 109}, {"Model B: Remote Cntrl 3", 110}, {"Model B: Line Out", 111},
    };
    const EntryList list = ControlIdList(-1);
    ASSERT_EQ(list.entries.size(), std::size(expected));
    EXPECT_EQ(list.selected, -1);
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(list.entries[i], expected[i]) << expected[i].text.toStdString();
    EXPECT_EQ(ControlIdList(12).selected, -1);
}

TEST(PropertyRules, ButtonSizeComesFromImageFaces) {
    TLayout layout;
    const std::int32_t wide = addPicture(layout, 120, 60);
    const std::int32_t tall = addPicture(layout, 100, 80);
    const std::int32_t small = addPicture(layout, 20, 10);
    const std::int32_t empty = layout.AddUserImage(u"no pixels", nullptr).id;
    struct Case {
        std::int32_t upKind, upValue, downKind, downValue;
        ObjectSize expected;
    };
    const ObjectSize start{85, 50};
    const Case cases[] = {
        {TUserFace::kImage, wide, TUserFace::kImage, tall, {120, 80}},
        {TUserFace::kImage, tall, TUserFace::kImage, wide, {120, 80}},
        {TUserFace::kImage, small, TUserFace::kColor, 1, {20, 10}},
        {TUserFace::kColor, 1, TUserFace::kImage, small, {85, 50}},
        {TUserFace::kColor, 1, TUserFace::kImage, wide, {120, 60}},
        {TUserFace::kImage, 9999, TUserFace::kColor, 1, {85, 50}},
        {TUserFace::kImage, empty, TUserFace::kBlank, 0, {85, 50}},
        {TUserFace::kImage, 9999, TUserFace::kImage, small, {85, 50}},
        // A button face's value is a frame image too, but it takes the button's size.
        {TUserFace::kButtonFace, wide, TUserFace::kButtonFace, tall, {85, 50}},
    };
    for (const Case& c : cases) {
        TUserFace up;
        up.kind = c.upKind;
        up.value = c.upValue;
        TUserFace down;
        down.kind = c.downKind;
        down.value = c.downValue;
        EXPECT_EQ(ButtonSizeFromFaces(up, down, &layout, start), c.expected) << c.upValue << " " << c.downValue;
        EXPECT_EQ(ButtonSizeFromFaces(up, down, nullptr, start), start);
    }
}

TEST(PropertyRules, PreviewRectangles) {
    TUserFace frameFace;
    frameFace.kind = TUserFace::kButtonFace;
    TUserFace picture;
    picture.kind = TUserFace::kImage;
    EXPECT_EQ(ButtonPreviewRect({0, 0, 262, 276}, picture), (Rect{3, 10, 259, 266}));
    EXPECT_EQ(ButtonPreviewRect({0, 0, 262, 276}, frameFace), (Rect{88, 105, 174, 156}));
    EXPECT_EQ(ButtonPreviewRect({20, 30, 282, 306}, frameFace), (Rect{108, 135, 194, 186}));

    struct Case {
        Rect frame;
        int width, height;
        Rect expected;
    };
    const Case cases[] = {
        {{0, 0, 180, 180}, 45, 130, {67, 25, 112, 155}},
        {{0, 0, 180, 180}, 130, 45, {25, 67, 155, 112}},
        {{10, 20, 190, 200}, 178, 178, {11, 21, 189, 199}},
        // Larger than the frame: the halves of a negative odd room truncate toward zero.
        {{0, 0, 180, 180}, 201, 45, {-10, 67, 191, 112}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SliderPreviewRect(c.frame, c.width, c.height), c.expected) << c.width << "x" << c.height;
}

// Setting an ID asks the first page that has it; a duplicate after a load is any other page's.
TEST(PropertyRules, FirstPageWithTheIdDecidesWhetherItIsTaken) {
    TLayout layout;
    TListItem& a = addPage(layout, TListItem::kUserPage, u"A", 10000);
    TListItem& b = addPage(layout, TListItem::kBtn8, u"B", 10001);
    TListItem& twin = addPage(layout, TListItem::kNumeric, u"B twin", 10001);
    TUserPage outside(nullptr, u"not listed");
    struct Case {
        const TListItem* page;
        std::int32_t id;
        bool taken;
        bool usedByAnother;
    };
    const Case cases[] = {
        {&a, 10000, false, false},    {&a, 10001, true, true}, {&b, 10001, false, true},
        {&twin, 10001, true, true},   {&a, 5, false, false},   {&outside, 10000, true, true},
        {&outside, 77, false, false}, {&b, 10000, true, true},
    };
    for (const Case& c : cases) {
        const std::string what = QString::fromStdU16String(c.page->name).toStdString() + " " + std::to_string(c.id);
        EXPECT_EQ(PageIdTakenByOther(layout, *c.page, c.id), c.taken) << what;
        EXPECT_EQ(PageIdUsedByAnother(layout, *c.page, c.id), c.usedByAnother) << what;
    }
}

} // namespace
