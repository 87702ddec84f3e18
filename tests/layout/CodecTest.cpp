#include "ByteBuilder.h"
#include "CraftedImages.h"
#include "RichLayout.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CDataStore.h"
#include "layout/TLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes encode(TLayout& layout) {
    std::string error;
    auto bytes = layout.Encode(TLayout::kUploadCapacity, &error);
    EXPECT_TRUE(bytes.has_value()) << error;
    return bytes.value_or(Bytes{});
}

// The header of an image of the given version with every part its version has.
ByteBuilder header(std::int32_t version) {
    ByteBuilder b;
    b.i32(version);
    if (version <= 1)
        b.ansi(std::string_view("Old \xE9\0pad", 8));
    else
        b.str(u"Name");
    b.i32(30).i32(1);
    if (version <= 1)
        b.ansi("77");
    else
        b.str(u"77");
    if (version >= 7)
        b.str(u"SEC");
    b.i32(1).u8(80).u8(1);
    if (version >= 5)
        b.i32(10001);
    return b;
}

TEST(LayoutCodec, DefaultLayoutIs12350Bytes) {
    TLayout layout;
    const Bytes expected = ByteBuilder()
                               .i32(8)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(1)
                               .u8(100)
                               .u8(0)
                               .i32(-1)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(6144)
                               .fill(6144)
                               .i32(6144)
                               .fill(6144)
                               .i32(0)
                               .i32(0)
                               .bytes;
    EXPECT_EQ(encode(layout), expected);
    EXPECT_EQ(expected.size(), 12350u);
}

TEST(LayoutCodec, OneEightButtonPageAdds1320Bytes) {
    TLayout layout;
    layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"8 Button"), nullptr);
    const Bytes bytes = encode(layout);
    ASSERT_EQ(bytes.size(), 13670u);
    const Bytes page = ByteBuilder().i32(1).i32(9).i32(3).str(u"8 Button").i32(10000).i32(1).fill(1280).bytes;
    ASSERT_EQ(page.size(), 1320u);
    const std::size_t at = 34; // after the settings
    EXPECT_TRUE(std::equal(page.begin(), page.end(), bytes.begin() + at));
    EXPECT_EQ(bytes[at + 1320], 0); // the page list's end marker follows
}

TEST(LayoutCodec, RichLayoutRoundTripsToIdenticalBytes) {
    TLayout layout;
    MakeRichLayout(layout);
    const Bytes first = encode(layout);

    // Decoding puts each user image in front of the ones before it, so one round trip stores the
    // images in reverse order and a second brings the very same bytes back.
    TLayout back;
    std::string error;
    ASSERT_TRUE(back.Decode(first, &error)) << error;
    const Bytes second = encode(back);
    EXPECT_EQ(second.size(), first.size());
    TLayout again;
    ASSERT_TRUE(again.Decode(second, &error)) << error;
    EXPECT_EQ(encode(again), first);
    std::vector<std::int32_t> order;
    for (const auto& entry : back.images)
        order.push_back(entry->id);
    EXPECT_EQ(std::vector<std::int32_t>(order.begin(), order.begin() + 4),
              (std::vector<std::int32_t>{10000, 10001, 10002, 10003}));

    ASSERT_EQ(back.pages.size(), layout.pages.size());
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        EXPECT_EQ(back.pages[i]->pageId, layout.pages[i]->pageId);
        EXPECT_EQ(back.pages[i]->name, layout.pages[i]->name);
    }
    // The unused image went in the purge; the rest keep IDs and GUIDs.
    for (const auto& entry : layout.images) {
        const TImageEntry* twin = back.FindImage(entry->id);
        ASSERT_NE(twin, nullptr) << entry->id;
        EXPECT_EQ(twin->guid, entry->guid);
    }
    EXPECT_EQ(back.images.size(), layout.images.size());
    ASSERT_NE(back.sleepPage, nullptr);
    EXPECT_EQ(back.sleepPage->face.value, layout.sleepPage->face.value);
    EXPECT_EQ(back.defaultPageTimeout, 45);
    EXPECT_EQ(back.eventTexts, layout.eventTexts);
    EXPECT_EQ(back.securityPin, u"9999");
}

// A PNG that came in a layout goes out with the same bytes, decoded or not, even where we would
// write another; a picture given to the entry is encoded afresh.
TEST(LayoutCodec, StoredPngsGoOutAsTheyCameIn) {
    const Bytes foreign = BlackPng(7, 5);
    const auto holds = [](const Bytes& haystack, const Bytes& needle) {
        return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
    };
    TLayout layout;
    auto* page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr));
    const std::int32_t id = AddKeptImage(layout, *page, foreign);
    TLayout back;
    ASSERT_TRUE(back.Decode(encode(layout)));
    const TImageEntry* entry = back.FindImage(id);
    ASSERT_NE(entry, nullptr);
    ASSERT_FALSE(entry->Image()->IsEmpty());
    ASSERT_NE(entry->Image()->EncodePng(), foreign);
    EXPECT_TRUE(holds(encode(back), foreign));

    back.FindImage(id)->SetImage(std::make_unique<Picture>(*entry->Image()));
    const Bytes fresh = encode(back);
    EXPECT_FALSE(holds(fresh, foreign));
    EXPECT_TRUE(holds(fresh, entry->Image()->EncodePng()));
}

TEST(LayoutCodec, EncodingPurgesAndRenders) {
    TLayout layout;
    MakeRichLayout(layout);
    const std::int32_t unused = layout.NextImageId() - 1;
    ASSERT_NE(layout.FindImage(unused), nullptr);
    encode(layout);
    EXPECT_EQ(layout.FindImage(unused), nullptr);
    // Two distinct CJK characters in one page name, three sizes each; the rest of the names are
    // Latin-1 and get glyphs too.
    EXPECT_GE(layout.glyphs.size(), 6u);
}

TEST(LayoutCodec, CjkNameCarriesThreeGlyphsAndDecodingKeepsOurs) {
    TLayout layout;
    layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"\u4E2D"), nullptr);
    const Bytes bytes = encode(layout);
    ASSERT_EQ(layout.glyphs.size(), 3u);
    std::size_t glyphBytes = 0;
    for (const auto& g : layout.glyphs)
        glyphBytes += 4 + 4 + 4 + 4 + 5 + g->bits.size();
    EXPECT_EQ(bytes.size(), 12350u + 1320u - 16u + 2u + glyphBytes);

    TLayout other;
    other.controlName = u"\u00E9";
    other.RebuildGlyphs();
    const auto before = other.glyphs.front().get();
    ASSERT_TRUE(other.Decode(bytes));
    ASSERT_EQ(other.glyphs.size(), 3u);
    EXPECT_EQ(other.glyphs.front().get(), before);
    EXPECT_EQ(other.glyphs.front()->code, 0xE9);
}

TEST(LayoutCodec, SleepPageImageTravels) {
    TLayout layout;
    const std::int32_t id = AddTestImage(layout, 9);
    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"sleep");
    layout.sleepPage->face.kind = TUserFace::kImage;
    layout.sleepPage->face.value = id;
    TLayout back;
    ASSERT_TRUE(back.Decode(encode(layout)));
    ASSERT_NE(back.FindImage(id), nullptr);
    EXPECT_EQ(back.FindImage(id)->Image()->Width(), 4);
}

TEST(LayoutCodec, VersionFourKeepsWhatItLacks) {
    const Bytes image = header(4).i32(0).i32(0).i32(0).bytes;
    TLayout layout;
    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"sleep");
    layout.defaultPageTimeout = 17;
    layout.securityPin = u"old";
    layout.EventText(0)[0] = 'x';
    layout.defaultPageId = 10005;
    ASSERT_TRUE(layout.Decode(image));
    EXPECT_EQ(layout.controlName, u"Name");
    EXPECT_EQ(layout.sleepTimeout, 30);
    EXPECT_EQ(layout.timeoutPin, u"77");
    EXPECT_EQ(layout.manualBrightness, 80);
    EXPECT_EQ(layout.autoBrightness, 1);
    EXPECT_TRUE(layout.securityPin.empty());
    EXPECT_EQ(layout.defaultPageId, -1);
    EXPECT_EQ(layout.eventTexts, (TLayout().eventTexts));
    EXPECT_NE(layout.sleepPage, nullptr);
    EXPECT_EQ(layout.defaultPageTimeout, 17);
}

template <typename T> Bytes record(T& item) {
    CDataStore ar;
    item.Serialize(ar);
    const auto bytes = ar.Result();
    return {bytes.begin(), bytes.end()};
}

// An image of the given version holding every part that version has: a glyph (from 3), a user
// image (from 4), events (from 6), the default-page timeout and a sleep page (from 8). Each gate
// is tried at its version and just below it, against a layout that already holds all of these.
// The last part a version has is read to its end: one byte less is refused. At version 3 that is
// the glyph list, which nothing else would show was passed over.
TEST(LayoutCodec, EachVersionGateBringsItsPartsAndLeavesDefaultsBelowIt) {
    TGlyph glyph;
    glyph.sizeKey = 22;
    glyph.code = 0xE9;
    glyph.width = 5;
    glyph.height = 2;
    glyph.SetLevel(4, 1, 3);
    TImageEntry entry;
    entry.id = 10000;
    entry.guid = NewGuid();
    entry.SetImage(TestPicture(4, 3, 5));
    const Bytes glyphRecord = record(glyph);
    const Bytes entryRecord = record(entry);

    for (const std::int32_t v : {2, 3, 4, 5, 6, 7, 8}) {
        ByteBuilder b = header(v);
        b.i32(0);
        if (v >= 3)
            b.i32(1).append(glyphRecord).i32(0);
        if (v >= 4)
            b.i32(1).append(entryRecord).i32(0);
        if (v >= 6)
            b.i32(3).raw("abc").i32(2).raw("xy");
        if (v >= 8)
            b.i32(45).i32(1).i32(3).str(u"Sleep").i32(10050).i32(1).face(TUserFace::kImage, 10000).i32(0);

        TLayout layout;
        layout.sleepPage = std::make_unique<TUserPage>(&layout, u"old");
        const TUserPage* oldSleep = layout.sleepPage.get();
        layout.defaultPageTimeout = 17;
        layout.securityPin = u"old";
        layout.EventDescription(0)[0] = 'q';
        layout.EventText(23)[255] = 'q';
        layout.glyphs.push_back(std::make_unique<TGlyph>());
        std::string error;
        EXPECT_FALSE(layout.Decode({b.bytes.data(), b.bytes.size() - 1})) << "version " << v << " cut short";
        ASSERT_TRUE(layout.Decode(b.bytes, &error)) << "version " << v << ": " << error;
        ASSERT_EQ(layout.glyphs.size(), 1u) << v;
        EXPECT_EQ(layout.glyphs[0]->code, 0) << v;

        // What follows the security PIN sits where it should only when the PIN was read at its gate.
        EXPECT_EQ(layout.securityPin, v >= 7 ? u"SEC" : u"") << v;
        EXPECT_EQ(layout.audibleFeedback, 1) << v;
        EXPECT_EQ(layout.manualBrightness, 80) << v;
        EXPECT_EQ(layout.defaultPageId, v >= 5 ? 10001 : -1) << v;

        const TImageEntry* image = layout.FindImage(10000);
        ASSERT_EQ(image != nullptr, v >= 4) << v;
        if (image != nullptr) {
            EXPECT_EQ(image->guid, entry.guid) << v;
        }

        std::array<std::uint8_t, TLayout::kEventCount * TLayout::kEventBytes> descriptions{};
        std::array<std::uint8_t, TLayout::kEventCount * TLayout::kEventBytes> texts{};
        if (v >= 6) {
            std::memcpy(descriptions.data(), "abc", 3);
            std::memcpy(texts.data(), "xy", 2);
        }
        EXPECT_EQ(layout.eventDescriptions, descriptions) << v;
        EXPECT_EQ(layout.eventTexts, texts) << v;

        ASSERT_NE(layout.sleepPage, nullptr) << v;
        if (v >= 8) {
            EXPECT_EQ(layout.defaultPageTimeout, 45);
            EXPECT_EQ(layout.sleepPage->name, u"Sleep");
            EXPECT_EQ(layout.sleepPage->pageId, 10050);
            EXPECT_EQ(layout.sleepPage->face.value, 10000);
        } else {
            EXPECT_EQ(layout.defaultPageTimeout, 17) << v;
            EXPECT_EQ(layout.sleepPage.get(), oldSleep) << v;
        }
    }
}

TEST(LayoutCodec, OldVersionsReadTheirOwnForms) {
    struct Case {
        std::int32_t version;
        std::u16string controlName;
        std::u16string timeoutPin;
        std::int32_t defaultPageId;
    };
    const Case cases[] = {{0, u"Old \u00E9", u"77", -1}, {1, u"Old \u00E9", u"77", -1}, {2, u"Name", u"77", -1},
                          {5, u"Name", u"77", 10001},    {7, u"Name", u"77", 10001},    {9, u"Name", u"77", 10001}};
    for (const auto& c : cases) {
        ByteBuilder b = header(c.version);
        // Two pages of the matching page-record age, then the remaining parts.
        for (const char16_t* name : {u"First", u"Second"}) {
            b.i32(1).i32(9);
            if (c.version <= 1)
                b.i32(1).ansi(std::string(name, name + std::char_traits<char16_t>::length(name)));
            else if (c.version == 2)
                b.i32(2).str(name);
            else
                b.i32(3).str(name).i32(10020);
            b.i32(1).fill(1280);
        }
        b.i32(0);
        if (c.version >= 3)
            b.i32(0);
        if (c.version >= 4)
            b.i32(0);
        if (c.version >= 6)
            b.i32(3).raw("abc").i32(0);
        if (c.version >= 8)
            b.i32(5).i32(0);
        TLayout layout;
        std::string error;
        ASSERT_TRUE(layout.Decode(b.bytes, &error)) << "version " << c.version << ": " << error;
        EXPECT_EQ(layout.controlName, c.controlName) << c.version;
        EXPECT_EQ(layout.timeoutPin, c.timeoutPin) << c.version;
        EXPECT_EQ(layout.defaultPageId, c.defaultPageId) << c.version;
        ASSERT_EQ(layout.pages.size(), 2u);
        EXPECT_EQ(layout.pages[1]->name, u"Second");
        if (c.version <= 2) {
            EXPECT_EQ(layout.pages[0]->pageId, 10000) << c.version;
            EXPECT_EQ(layout.pages[1]->pageId, 10001) << c.version;
        } else {
            EXPECT_EQ(layout.pages[1]->pageId, 10020) << c.version;
        }
        if (c.version >= 6) {
            EXPECT_EQ(layout.eventDescriptions[2], 'c');
        }
    }
}

TEST(LayoutCodec, EmptyPageListLeavesOnlyBuiltins) {
    TLayout layout;
    MakeRichLayout(layout);
    TLayout fresh;
    ASSERT_TRUE(layout.Decode(encode(fresh)));
    EXPECT_TRUE(layout.pages.empty());
    EXPECT_EQ(layout.images.size(), fresh.images.size());
    EXPECT_EQ(layout.NextImageId(), 10000);
}

TEST(LayoutCodec, InvalidImagesAreRefusedAndChangeNothing) {
    struct Case {
        const char* name;
        Bytes image;
    };
    const Case cases[] = {
        {"event block too long", header(8).i32(0).i32(0).i32(0).i32(6145).fill(6145).i32(0).i32(0).i32(0).bytes},
        {"negative event block", header(8).i32(0).i32(0).i32(0).i32(-1).i32(0).i32(0).i32(0).bytes},
        {"unknown page kind", header(8).i32(1).i32(11).i32(3).str(u"x").i32(1).bytes},
        {"legacy name too long", ByteBuilder().i32(1).ansi(std::string(261, 'n')).bytes},
        {"negative string", ByteBuilder().i32(8).i32(-5).bytes},
        {"huge string", ByteBuilder().i32(8).i32(0x40000000).bytes},
        {"negative version", ByteBuilder().i32(-1).str(u"").bytes},
        {"empty", {}},
        {"ends after the pages", header(8).i32(0).bytes},
    };
    for (const auto& c : cases) {
        TLayout layout;
        MakeRichLayout(layout);
        const Bytes before = Snapshot(layout);
        std::string error;
        EXPECT_FALSE(layout.Decode(c.image, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_EQ(Snapshot(layout), before) << c.name;
    }
}

TEST(LayoutCodec, TruncatedOrFlippedImagesNeverCrash) {
    TLayout source;
    MakeRichLayout(source);
    const Bytes image = encode(source);
    TLayout layout;
    MakeRichLayout(layout);
    const Bytes before = Snapshot(layout);
    for (std::size_t cut = 0; cut < image.size(); ++cut) {
        // A copy of exactly `cut` bytes, so reading past it is caught by the sanitizers.
        const Bytes part(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(cut));
        ASSERT_FALSE(layout.Decode(part)) << "cut at " << cut;
        if (cut % 101 == 0) {
            ASSERT_EQ(Snapshot(layout), before) << "cut at " << cut;
        }
    }
    Bytes flipped = image;
    for (std::size_t i = 0; i < image.size(); ++i) {
        flipped[i] ^= 0xA5;
        TLayout target;
        target.Decode(flipped); // either way is fine; it must not crash or hang
        flipped[i] = image[i];
    }
}

TEST(LayoutCodec, TooLargeImageIsRefusedWithoutTouchingTheBuffer) {
    TLayout layout;
    Bytes buffer(100, 0xEE);
    std::int32_t length = 100;
    std::string error;
    EXPECT_FALSE(layout.Serialize(buffer.data(), &length, true, &error));
    EXPECT_NE(error.find("12350"), std::string::npos) << error;
    EXPECT_EQ(length, 100);
    EXPECT_EQ(buffer, Bytes(100, 0xEE));

    Bytes big(20000, 0);
    length = 20000;
    ASSERT_TRUE(layout.Serialize(big.data(), &length, true));
    EXPECT_EQ(length, 12350);
    TLayout back;
    EXPECT_TRUE(back.Serialize(big.data(), &length, false));
}

} // namespace
