#include "ByteBuilder.h"
#include "CraftedImages.h"
#include "layout/CDataStore.h"
#include "layout/DecodeError.h"
#include "layout/TImageEntry.h"
#include "layout/TImageLibrary.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "picture/PixelBudget.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes store(TImageEntry& entry) {
    CDataStore ar;
    entry.Serialize(ar);
    auto r = ar.Result();
    return {r.begin(), r.end()};
}

std::vector<std::int32_t> imageIds(const TLayout& layout) {
    std::vector<std::int32_t> ids;
    for (const auto& e : layout.images)
        ids.push_back(e->id);
    return ids;
}

std::unique_ptr<Picture> smallPicture(std::uint8_t red) {
    auto picture = std::make_unique<Picture>(3, 2);
    picture->SetPixel(0, 0, {red, 20, 30, 255});
    picture->SetPixel(2, 1, {1, 2, 3, 255});
    return picture;
}

TImageEntry* addUserImage(TLayout& layout, std::int32_t id) {
    auto entry = std::make_unique<TImageEntry>();
    entry->id = id;
    entry->description = u"user";
    entry->SetImage(smallPicture(static_cast<std::uint8_t>(id)));
    entry->guid = NewGuid();
    layout.images.insert(layout.images.begin(), std::move(entry));
    return layout.images.front().get();
}

const std::vector<std::int32_t> kBuiltinOrder = {1, 2, 3, 16, 4, 5, 6, 7, 8, 9, 10, 11};

TEST(ImageStore, BuiltinEntriesStandFirstInStoredOrder) {
    TLayout layout;
    EXPECT_EQ(imageIds(layout), kBuiltinOrder);
    struct Case {
        std::int32_t id;
        const char16_t* description;
        int width, height;
    };
    const Case cases[] = {
        {1, u"ZZZ: Main Background", 320, 240}, {2, u"ZZZ: Slider Composite", 46, 76},
        {3, u"ZZZ: Blue Square", 31, 31},       {4, u"ZZZ: Blue Glow", 31, 31},
        {5, u"ZZZ: Deep Round", 31, 31},        {6, u"ZZZ: Green Glow", 31, 31},
        {7, u"ZZZ: Green Square", 31, 31},      {8, u"ZZZ: Deep Square", 31, 31},
        {9, u"ZZZ: Grey Square", 31, 31},       {10, u"ZZZ: Return Icon", 27, 27},
        {11, u"ZZZ: Cancel Icon", 33, 25},      {16, u"ZZZ: Deep Round Highlight", 31, 31},
    };
    for (const auto& c : cases) {
        const TImageEntry* entry = layout.FindImage(c.id);
        ASSERT_NE(entry, nullptr) << c.id;
        EXPECT_EQ(entry->description, c.description);
        ASSERT_NE(entry->Image(), nullptr) << c.id;
        EXPECT_EQ(entry->Image()->Width(), c.width) << c.id;
        EXPECT_EQ(entry->Image()->Height(), c.height) << c.id;
        EXPECT_FALSE(entry->IsUserImage());
    }
}

TEST(ImageStore, ClearAllLeavesExactlyTheBuiltinEntries) {
    TLayout layout;
    addUserImage(layout, 10000);
    layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr);
    layout.ClearAll();
    EXPECT_TRUE(layout.pages.empty());
    EXPECT_EQ(imageIds(layout), kBuiltinOrder);
    EXPECT_EQ(layout.images.front()->id, 1);
}

TEST(ImageStore, BuiltinPicturesAreSharedNotCopied) {
    TLayout a;
    TLayout b;
    EXPECT_EQ(a.FindImage(1)->Image(), b.FindImage(1)->Image());
}

TEST(ImageStore, NextImageId) {
    struct Case {
        std::vector<std::int32_t> userIds;
        std::int32_t next;
    };
    constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
    const Case cases[] = {{{}, 10000},        {{10000, 10004}, 10005},   {{10004, 10000}, 10005},
                          {{12000}, 12001},   {{kTop - 1, 10000}, kTop}, {{kTop, 10000}, -1},
                          {{10000, kTop}, -1}};
    for (const auto& c : cases) {
        TLayout layout;
        for (auto id : c.userIds)
            addUserImage(layout, id);
        EXPECT_EQ(layout.NextImageId(), c.next);
        EXPECT_EQ(layout.HasFreeImageId(), c.next != -1);
        if (c.next == -1) { // no ID left: adding is refused and adds nothing
            const std::size_t count = layout.images.size();
            EXPECT_THROW(layout.AddUserImage(u"late", nullptr), std::overflow_error);
            EXPECT_EQ(layout.images.size(), count);
        }
    }
}

// An import joins at the front with the next ID and an identity of its own.
TEST(ImageStore, AddUserImageGoesFirstWithTheNextIdAndAFreshGuid) {
    TLayout layout;
    layout.LoadBuiltinImages();
    addUserImage(layout, 10004);
    const TImageEntry& first = layout.AddUserImage(u"Logo", smallPicture(200));
    const TImageEntry& second = layout.AddUserImage(u"Nothing", nullptr);
    EXPECT_EQ(layout.images[0].get(), &second);
    EXPECT_EQ(layout.images[1].get(), &first);
    EXPECT_EQ(first.id, 10005);
    EXPECT_EQ(second.id, 10006);
    EXPECT_EQ(first.description, u"Logo");
    ASSERT_NE(first.Image(), nullptr);
    EXPECT_EQ(first.Image()->GetPixel(0, 0).r, 200);
    EXPECT_EQ(second.Image(), nullptr);
    EXPECT_NE(first.guid, second.guid);
    EXPECT_NE(first.guid, Guid{});
}

TEST(ImageStore, FindImageTakesTheFirstMatch) {
    TLayout layout;
    addUserImage(layout, 10000);
    TImageEntry* front = addUserImage(layout, 10000);
    EXPECT_EQ(layout.FindImage(10000), front);
    EXPECT_EQ(layout.FindImage(10001), nullptr);
}

TEST(ImageStore, PurgeKeepsWhatPagesUse) {
    TLayout layout;
    for (std::int32_t id = 10000; id <= 10007; ++id)
        addUserImage(layout, id);

    auto* page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr));
    page->face.kind = TUserFace::kImage;
    page->face.value = 10000;
    auto button = std::make_unique<TUserButton>();
    button->upFace.kind = TUserFace::kImage;
    button->upFace.value = 10001;
    button->downFace.kind = TUserFace::kImage;
    button->downFace.value = 10002;
    page->AddObject(std::move(button));
    auto image = std::make_unique<TUserImage>();
    image->face.kind = TUserFace::kImage;
    image->face.value = 10003;
    page->AddObject(std::move(image));
    auto level = std::make_unique<TUserLevel>();
    level->sliderImageId = 10004;
    page->AddObject(std::move(level));
    auto builtinFace = std::make_unique<TUserImage>();
    builtinFace->face.kind = TUserFace::kButtonFace; // kind 1 names built-in images only
    builtinFace->face.value = 10005;
    page->AddObject(std::move(builtinFace));

    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"sleep");
    layout.sleepPage->face.kind = TUserFace::kImage;
    layout.sleepPage->face.value = 10006;
    // 10007 is used by nothing; neither are most built-ins.

    layout.PurgeUnusedImages();
    std::vector<std::int32_t> expected = {10006, 10004, 10003, 10002, 10001, 10000};
    expected.insert(expected.end(), kBuiltinOrder.begin(), kBuiltinOrder.end());
    EXPECT_EQ(imageIds(layout), expected);
}

TEST(ImageStore, PurgeIgnoresOtherPageKindsAndUnknownReferences) {
    TLayout layout;
    addUserImage(layout, 10000);
    auto* page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr));
    page->face.kind = TUserFace::kImage;
    page->face.value = 12345; // nothing has this ID; left as it is
    layout.PurgeUnusedImages();
    EXPECT_EQ(imageIds(layout), kBuiltinOrder);
    EXPECT_EQ(page->face.value, 12345);
}

TEST(ImageEntry, EntryWithoutImageWritesNoPng) {
    TImageEntry entry;
    entry.id = 10002;
    entry.description = u"d";
    entry.guid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(store(entry), ByteBuilder()
                                .i32(2)
                                .i32(10002)
                                .str(u"d")
                                .i32(1)
                                .i32(0)
                                .raw("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10")
                                .bytes);
}

TEST(ImageEntry, RoundTripKeepsPixelsIdAndGuid) {
    TImageEntry entry;
    entry.id = 10009;
    entry.description = u"Logo \u00E9";
    entry.SetImage(smallPicture(200));
    entry.guid = NewGuid();
    const Bytes bytes = store(entry);

    TImageEntry back;
    CDataStore ar(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    back.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0);
    EXPECT_EQ(back.id, 10009);
    EXPECT_EQ(back.description, entry.description);
    EXPECT_EQ(back.guid, entry.guid);
    ASSERT_NE(back.Image(), nullptr);
    EXPECT_EQ(back.Image()->Width(), 3);
    EXPECT_EQ(back.Image()->GetPixel(0, 0), (Rgba{200, 20, 30, 255}));
    EXPECT_EQ(store(back), bytes);
}

TEST(ImageEntry, VersionOneGetsAFreshGuidEachRead) {
    const Bytes v1 = ByteBuilder().i32(1).i32(10000).str(u"old").i32(1).i32(0).bytes;
    Guid first{};
    Guid second{};
    for (Guid* target : {&first, &second}) {
        TImageEntry entry;
        CDataStore ar(v1.data(), static_cast<std::int32_t>(v1.size()));
        entry.Serialize(ar);
        EXPECT_EQ(ar.Remaining(), 0);
        EXPECT_EQ(entry.description, u"old");
        EXPECT_EQ(entry.Image(), nullptr);
        *target = entry.guid;
    }
    EXPECT_NE(first, second);
    EXPECT_NE(first, Guid{});
}

TEST(ImageEntry, UndecodablePngLeavesAnEmptyPicture) {
    const Bytes bytes = ByteBuilder().i32(2).i32(10000).str(u"bad").i32(1).i32(5).raw("junk!").fill(16, 7).bytes;
    TImageEntry entry;
    CDataStore ar(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    entry.Serialize(ar);
    EXPECT_EQ(entry.id, 10000);
    ASSERT_NE(entry.Image(), nullptr);
    EXPECT_TRUE(entry.Image()->IsEmpty());
    EXPECT_EQ(entry.guid[0], 7);
}

// What the picture layer refuses stays in the entry as stored, so saving it again loses nothing; what it
// decodes is written back with the same bytes too.
TEST(ImageEntry, StoredPngIsKeptByteForByteAndRefusedOneDrawsNothing) {
    const Bytes black = BlackPng(5, 3);
    struct Case {
        const char* name;
        Bytes png;
        bool decodes;
    } cases[] = {
        {"junk", {'j', 'u', 'n', 'k', '!'}, false},
        {"cut short", Bytes(black.begin(), black.end() - 13), false},
        {"valid but wider than any picture", BlackPng(Picture::kMaxSide + 1, 1), false},
        {"valid but over a layout's side limit", BlackPng(TImageEntry::kMaxSide + 1, 2), false},
        {"valid but over a layout's side limit, tall", BlackPng(1, TImageEntry::kMaxSide + 1), false},
        {"at the side limit", BlackPng(TImageEntry::kMaxSide, 2), true},
        {"small", black, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes record = ByteBuilder()
                                 .i32(2)
                                 .i32(10004)
                                 .str(u"pic")
                                 .i32(1)
                                 .i32(static_cast<std::int64_t>(c.png.size()))
                                 .append(c.png)
                                 .fill(16, 9)
                                 .bytes;
        TImageEntry entry;
        CDataStore ar(record.data(), static_cast<std::int32_t>(record.size()));
        entry.Serialize(ar);
        EXPECT_EQ(ar.Remaining(), 0);
        EXPECT_EQ(entry.id, 10004);
        ASSERT_NE(entry.Image(), nullptr);
        EXPECT_EQ(entry.Image()->IsEmpty(), !c.decodes);
        // Decoded or not, the stored bytes go out as they came in.
        EXPECT_EQ(store(entry), record);
        if (c.decodes) {
            EXPECT_TRUE(entry.KeptPng().empty());
            continue;
        }
        EXPECT_EQ(entry.KeptPng(), c.png);

        // A new picture replaces what was kept.
        entry.SetImage(smallPicture(5));
        EXPECT_TRUE(entry.KeptPng().empty());
        TImageEntry back;
        const Bytes stored = store(entry);
        CDataStore again(stored.data(), static_cast<std::int32_t>(stored.size()));
        back.Serialize(again);
        EXPECT_EQ(back.Image()->GetPixel(0, 0), (Rgba{5, 20, 30, 255}));
    }
}

// One budget spans every entry read with it: past it, pictures are kept undecoded, not allocated.
TEST(ImageEntry, SharedBudgetKeepsWhatNoLongerFits) {
    PixelBudget budget(8, 30);
    const struct {
        std::uint32_t width, height;
        bool decodes;
        std::int64_t left;
    } steps[] = {
        {5, 4, true, 10}, {4, 3, false, 10}, {9, 1, false, 10}, {2, 5, true, 0}, {1, 1, false, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::to_string(step.width) + " x " + std::to_string(step.height));
        const Bytes png = BlackPng(step.width, step.height);
        const Bytes record = ByteBuilder()
                                 .i32(2)
                                 .i32(10000)
                                 .str(u"")
                                 .i32(1)
                                 .i32(static_cast<std::int64_t>(png.size()))
                                 .append(png)
                                 .fill(16)
                                 .bytes;
        TImageEntry entry;
        CDataStore ar(record.data(), static_cast<std::int32_t>(record.size()));
        entry.Serialize(ar, &budget);
        EXPECT_EQ(!entry.Image()->IsEmpty(), step.decodes);
        EXPECT_EQ(entry.KeptPng().empty(), step.decodes);
        EXPECT_EQ(budget.Remaining(), step.left);
    }
}

TEST(ImageEntry, TruncatedOrLyingRecordsAreRefused) {
    TImageEntry entry;
    entry.id = 10001;
    entry.SetImage(smallPicture(9));
    const Bytes whole = store(entry);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        TImageEntry target;
        target.id = 42;
        CDataStore ar(whole.data(), static_cast<std::int32_t>(cut));
        EXPECT_THROW(target.Serialize(ar), DecodeError) << "cut at " << cut;
        EXPECT_EQ(target.id, 42);
    }
    for (std::int64_t n : {-1LL, 0x7FFFFFFFLL, 1LL << 31}) {
        const Bytes lying = ByteBuilder().i32(2).i32(10000).str(u"").i32(1).i32(n).fill(20).bytes;
        TImageEntry target;
        CDataStore ar(lying.data(), static_cast<std::int32_t>(lying.size()));
        EXPECT_THROW(target.Serialize(ar), DecodeError) << n;
    }
}

TEST(ImageLibrary, WriteThenReadKeepsListOrder) {
    TImageLibrary library;
    for (std::int32_t id : {3, 2, 1}) { // list order: the reverse of the stored order
        auto image = std::make_unique<TLibraryImage>();
        image->id = id;
        image->image = smallPicture(static_cast<std::uint8_t>(id));
        library.images.push_back(std::move(image));
        auto text = std::make_unique<TLibraryString>();
        text->id = id;
        text->text = u"t";
        library.texts.push_back(std::move(text));
        auto style = std::make_unique<TLibraryStyle>();
        style->id = id;
        style->b[3] = 9;
        library.styles.push_back(std::move(style));
        auto glyph = std::make_unique<TGlyph>();
        glyph->sizeKey = 2;
        glyph->code = 'A' + id;
        glyph->width = 5;
        glyph->height = 1;
        glyph->SetLevel(4, 0, 3);
        library.glyphs.push_back(std::move(glyph));
    }
    const Bytes block = library.Write();
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 4), ByteBuilder().i32(0x0ABCDEF0).bytes);

    TImageLibrary back;
    back.Read(block);
    ASSERT_EQ(back.images.size(), 3u);
    EXPECT_EQ(back.images[0]->id, 3);
    EXPECT_EQ(back.images[2]->id, 1);
    EXPECT_EQ(back.images[0]->image->GetPixel(0, 0).r, 3);
    EXPECT_EQ(back.texts[1]->id, 2);
    EXPECT_EQ(back.styles[0]->b[3], 9);
    ASSERT_EQ(back.glyphs.size(), 3u);
    EXPECT_EQ(back.FindGlyph(2, 'A' + 1), back.glyphs[2].get());
    EXPECT_EQ(back.FindGlyph(2, 'A' + 1)->Level(4, 0), 3);
    EXPECT_EQ(back.FindGlyph(1, 'A' + 1), nullptr);
    EXPECT_EQ(back.Write(), block);
}

TEST(ImageLibrary, OddBlocks) {
    struct Case {
        const char* name;
        Bytes block;
        std::size_t styles, texts, images;
    };
    const Bytes style1 = ByteBuilder().i32(1).i32(1).i32(5).i32(1).raw("\x01\x02\x03\x04\x05\x06").bytes;
    const Case cases[] = {
        {"wrong magic", ByteBuilder().i32(0x0ABCDEF1).i32(1).append(style1).i32(0).bytes, 0, 0, 0},
        {"empty", {}, 0, 0, 0},
        {"version-1 style", ByteBuilder().i32(0x0ABCDEF0).i32(1).append(style1).i32(0).i32(0).i32(0).i32(0).bytes, 1, 0,
         0},
        {"incomplete final marker",
         ByteBuilder().i32(0x0ABCDEF0).i32(1).i32(0).i32(1).i32(1).i32(7).str(u"ON").i32(0).i32(0).u8(0).u8(0).bytes, 0,
         1, 0},
        {"ends mid-record", ByteBuilder().i32(0x0ABCDEF0).i32(1).append(style1).i32(1).i32(2).bytes, 1, 0, 0},
        {"image that is not a picture",
         ByteBuilder()
             .i32(0x0ABCDEF0)
             .i32(1)
             .i32(0)
             .i32(0)
             .i32(1)
             .i32(1)
             .i32(4)
             .i32(0)
             .i32(0)
             .i32(4)
             .i32(3)
             .raw("abc")
             .i32(0)
             .bytes,
         0, 0, 1},
    };
    for (const auto& c : cases) {
        TImageLibrary library;
        library.Read(c.block);
        EXPECT_EQ(library.styles.size(), c.styles) << c.name;
        EXPECT_EQ(library.texts.size(), c.texts) << c.name;
        EXPECT_EQ(library.images.size(), c.images) << c.name;
    }
    TImageLibrary library;
    library.Read(ByteBuilder().i32(0x0ABCDEF0).i32(1).append(style1).i32(0).bytes);
    ASSERT_EQ(library.styles.size(), 1u);
    const auto& b = library.styles[0]->b;
    EXPECT_EQ((std::vector<int>(b.begin(), b.end())), (std::vector<int>{1, 2, 3, 0, 4, 5, 6}));
}

} // namespace
