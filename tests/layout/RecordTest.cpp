#include "ByteBuilder.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CDataStore.h"
#include "layout/CNumericCtrl.h"
#include "layout/DecodeError.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename T> Bytes store(T& record) {
    CDataStore ar;
    record.Serialize(ar);
    auto r = ar.Result();
    return {r.begin(), r.end()};
}

template <typename T> void load(T& record, const Bytes& bytes) {
    CDataStore ar(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    record.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0) << "record left bytes unread";
}

void setText(std::uint8_t* slot, const char* text) {
    std::memcpy(slot, text, std::strlen(text) + 1);
}

// A user page holding one object of every kind, with every field away from its default.
std::unique_ptr<TUserPage> richPage() {
    auto page = std::make_unique<TUserPage>(nullptr, u"R\u00E9ception \u4E2D");
    page->pageId = 10042;
    page->face.kind = TUserFace::kColor;
    page->face.value = TUserFace::kRadial;
    page->face.color1 = 0x00112233;
    page->face.color2 = 0x00445566;
    page->face.text = u"Welcome";
    page->face.textColor = 0x00FFFFFF;
    page->face.textSize = TUserFace::kLarge;

    auto button = std::make_unique<TUserButton>();
    button->left = 10;
    button->top = 20;
    button->width = 60;
    button->height = 40;
    button->upFace.kind = TUserFace::kButtonFace;
    button->upFace.value = 5;
    button->downFace.kind = TUserFace::kImage;
    button->downFace.value = 10001;
    button->selectorId = 3;
    button->toggle = true;
    setText(button->downEvent.data(), "LIGHTS ON");
    setText(button->upEvent.data(), "LIGHTS OFF");
    button->entryPageId = 10007;
    button->holdTime = 1500;
    page->AddObject(std::move(button));

    auto level = std::make_unique<TUserLevel>();
    level->left = 200;
    level->width = 46;
    level->height = 200;
    level->controlId = 12;
    level->sliderImageId = 10002;
    page->AddObject(std::move(level));

    auto image = std::make_unique<TUserImage>();
    image->face.kind = TUserFace::kImage;
    image->face.value = 10003;
    image->width = 32;
    image->height = 32;
    page->AddObject(std::move(image));

    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->left = -5;
    hotspot->top = 230;
    hotspot->width = 320;
    hotspot->height = 10;
    hotspot->targetPageId = 10001;
    hotspot->requirePin = true;
    hotspot->pin = u"4321";
    page->AddObject(std::move(hotspot));

    auto plain = std::make_unique<TUserObject>(7);
    plain->width = 3;
    page->AddObject(std::move(plain));
    return page;
}

TEST(Records, DefaultFaceIs32Bytes) {
    TUserFace face;
    EXPECT_EQ(store(face), ByteBuilder().i32(3).i32(0).i32(0).i32(0).i32(0).i32(0).i32(2).i32(0).bytes);
}

TEST(Records, FaceWritesCaptionColourAndSizeBeforeTheCaption) {
    TUserFace face;
    face.kind = 99; // unknown kinds travel unchanged
    face.value = 4;
    face.color1 = 1;
    face.color2 = 2;
    face.textColor = 3;
    face.textSize = TUserFace::kTiny;
    face.text = u"Go";
    const Bytes bytes = store(face);
    EXPECT_EQ(bytes, ByteBuilder().i32(3).i32(99).i32(4).i32(1).i32(2).i32(3).i32(4).str(u"Go").bytes);
    TUserFace back;
    load(back, bytes);
    EXPECT_EQ(store(back), bytes);
}

TEST(Records, OldFacesGetDefaults) {
    struct Case {
        Bytes bytes;
        std::int32_t textColor;
        std::int32_t textSize;
        std::u16string text;
    };
    const Case cases[] = {
        {ByteBuilder().i32(1).i32(7).i32(2).i32(0xAA).i32(0xBB).bytes, 0, 2, u""},
        {ByteBuilder().i32(2).i32(7).i32(2).i32(0xAA).i32(0xBB).str(u"Hi").bytes, 0, 2, u"Hi"},
        {ByteBuilder().i32(3).i32(7).i32(2).i32(0xAA).i32(0xBB).i32(0xCC).i32(4).str(u"Hi").bytes, 0xCC, 4, u"Hi"},
    };
    for (const auto& c : cases) {
        TUserFace face;
        face.textColor = 123;
        face.textSize = 3;
        face.text = u"stale";
        load(face, c.bytes);
        EXPECT_EQ(face.kind, 7);
        EXPECT_EQ(face.value, 2);
        EXPECT_EQ(face.color1, 0xAA);
        EXPECT_EQ(face.color2, 0xBB);
        EXPECT_EQ(face.textColor, c.textColor);
        EXPECT_EQ(face.textSize, c.textSize);
        EXPECT_EQ(face.text, c.text);
    }
}

TEST(Records, CopyFromLeavesTheImportMark) {
    TUserFace source;
    source.kind = 2;
    source.value = 10001;
    source.importMark = 1;
    source.text = u"x";
    source.textSize = 4;
    TUserFace target;
    target.importMark = 0;
    target.CopyFrom(source);
    EXPECT_EQ(target.importMark, 0);
    EXPECT_EQ(store(target), store(source));
}

TEST(Records, ListItemVersions) {
    struct Case {
        Bytes bytes;
        std::u16string name;
        std::int32_t pageId;
    };
    const Case cases[] = {
        {ByteBuilder().i32(0).ansi(std::string_view("Caf\xE9\0junk", 9)).bytes, u"Caf\u00E9", -1},
        {ByteBuilder().i32(1).ansi(std::string(252, 'n')).bytes, std::u16string(252, u'n'), -1},
        {ByteBuilder().i32(2).str(u"Two").bytes, u"Two", -1},
        {ByteBuilder().i32(3).str(u"Three").i32(10005).bytes, u"Three", 10005},
        {ByteBuilder().i32(9).str(u"Later").i32(7).bytes, u"Later", 7},
    };
    for (const auto& c : cases) {
        TListItem item(nullptr, u"before");
        item.pageId = 555;
        load(item, c.bytes);
        EXPECT_EQ(item.name, c.name);
        EXPECT_EQ(item.pageId, c.pageId);
    }
    TListItem item(nullptr, u"x");
    EXPECT_THROW(load(item, ByteBuilder().i32(1).ansi(std::string(253, 'n')).bytes), DecodeError);
    EXPECT_EQ(item.name, u"x");
}

TEST(Records, FreshEightButtonPage) {
    CBtn8Ctrl page(nullptr, u"8 Button");
    page.pageId = 10000;
    EXPECT_EQ(store(page), ByteBuilder().i32(3).str(u"8 Button").i32(10000).i32(1).fill(1280).bytes);
}

TEST(Records, EightButtonSlotsAlternateEventAndLabel) {
    CBtn8Ctrl page(nullptr, u"");
    setText(page.buttonEvents[0].data(), "E1");
    setText(page.buttonLabels[0].data(), "L1");
    setText(page.buttonLabels[7].data(), "L8");
    const Bytes bytes = store(page);
    const std::size_t base = 4 + 4 + 4 + 4;
    EXPECT_EQ(bytes.size(), base + 1280);
    EXPECT_EQ(bytes[base], 'E');
    EXPECT_EQ(bytes[base + 80], 'L');
    EXPECT_EQ(bytes[base + 15 * 80 + 1], '8');
    CBtn8Ctrl back(nullptr, u"");
    load(back, bytes);
    EXPECT_EQ(back.buttonLabels[7], page.buttonLabels[7]);
    EXPECT_EQ(back.buttonEvents[0], page.buttonEvents[0]);
}

TEST(Records, DataEntryPage) {
    CNumericCtrl page(nullptr, u"Data Entry");
    page.pageId = 10001;
    EXPECT_EQ(store(page), ByteBuilder()
                               .i32(3)
                               .str(u"Data Entry")
                               .i32(10001)
                               .i32(1)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .i32(0)
                               .bytes);
    page.backgroundColor = 0x0000FF;
    page.primaryColor = 0x00FF00;
    page.highlightColor = 0xFF0000;
    page.textColor = 0xFFFFFF;
    page.textLines = {u"Enter code", u"", u"\u4E2D", u"four"};
    CNumericCtrl back(nullptr, u"");
    load(back, store(page));
    EXPECT_EQ(back.textLines, page.textLines);
    EXPECT_EQ(back.highlightColor, 0xFF0000);
    EXPECT_EQ(back.textColor, 0xFFFFFF);
    EXPECT_EQ(back.pageId, 10001);
}

TEST(Records, UserPageWithoutObjects) {
    TUserPage page(nullptr, u"P");
    page.pageId = 10000;
    EXPECT_EQ(store(page), ByteBuilder().i32(3).str(u"P").i32(10000).i32(1).face().i32(0).bytes);
}

TEST(Records, ReadingAPageReplacesItsObjects) {
    TUserPage page(nullptr, u"P");
    page.AddObject(std::make_unique<TUserButton>());
    load(page, ByteBuilder().i32(3).str(u"Q").i32(10003).i32(1).face(7, 1).i32(0).bytes);
    EXPECT_TRUE(page.objects.empty());
    EXPECT_EQ(page.name, u"Q");
    EXPECT_EQ(page.face.kind, 7);

    // Any marker other than 1 ends the list.
    load(page, ByteBuilder().i32(3).str(u"Q").i32(1).i32(1).face().i32(1).i32(7).object(7, 1, 2, 3, 4).i32(2).bytes);
    ASSERT_EQ(page.objects.size(), 1u);
}

TEST(Records, UnknownObjectKindReadsAsPlainObject) {
    TUserPage page(nullptr, u"");
    load(page, ByteBuilder().i32(3).str(u"").i32(1).i32(1).face().i32(1).i32(7).object(7, 11, 22, 33, 44).i32(0).bytes);
    ASSERT_EQ(page.objects.size(), 1u);
    const TUserObject& o = *page.objects[0];
    EXPECT_EQ(typeid(o), typeid(TUserObject));
    EXPECT_EQ(o.kind, 7);
    EXPECT_EQ(o.left, 11);
    EXPECT_EQ(o.top, 22);
    EXPECT_EQ(o.width, 33);
    EXPECT_EQ(o.height, 44);
}

TEST(Records, ObjectRecordsAreByteExact) {
    TUserLevel level;
    level.left = 1;
    level.top = 2;
    level.width = 3;
    level.height = 4;
    EXPECT_EQ(store(level), ByteBuilder().object(2, 1, 2, 3, 4).i32(1).i32(-1).i32(2).bytes);

    TUserHotspot hotspot;
    hotspot.pin = u"12";
    hotspot.requirePin = true;
    EXPECT_EQ(store(hotspot), ByteBuilder().object(4, 0, 0, 0, 0).i32(2).i32(-1).i32(1).str(u"12").bytes);

    TUserImage image;
    EXPECT_EQ(store(image), ByteBuilder().object(3, 0, 0, 0, 0).i32(1).face().bytes);

    TUserButton button;
    EXPECT_EQ(store(button), ByteBuilder()
                                 .object(1, 0, 0, 0, 0)
                                 .i32(4)
                                 .face()
                                 .face()
                                 .i32(-1)
                                 .i32(-1)
                                 .i32(0)
                                 .fill(256)
                                 .fill(248)
                                 .i32(0xABADCAD0)
                                 .i32(0)
                                 .i32(-1)
                                 .bytes);
}

ByteBuilder buttonHead(std::int32_t version) {
    return ByteBuilder().object(1, 5, 6, 7, 8).i32(version).face(1, 3).face(1, 16).i32(4).i32(-1).i32(3);
}

TEST(Records, ButtonVersions) {
    struct Case {
        const char* name;
        Bytes bytes;
        const char* down;
        const char* up;
        std::int32_t entryPageId;
        std::int32_t holdTime;
    };
    const Case cases[] = {
        {"v1", buttonHead(1).raw("DOWN").fill(76).bytes, "DOWN", "", -1, 0},
        {"v2", buttonHead(2).raw("DOWN").fill(76).raw("UP").fill(78).bytes, "DOWN", "UP", -1, 0},
        {"v3", buttonHead(3).raw("DOWN").fill(252).raw("UP").fill(246).bytes, "DOWN", "UP", -1, 0},
        {"v4", buttonHead(4).raw("D").fill(255).raw("U").fill(247).i32(0xABADCAD0).i32(250).i32(10009).bytes, "D", "U",
         10009, 250},
        {"v4 bad check", buttonHead(4).raw("D").fill(255).raw("U").fill(247).i32(0x12345678).i32(250).i32(10009).bytes,
         "D", "U", 10009, 0},
    };
    for (const auto& c : cases) {
        TUserButton button;
        button.upEvent.fill('z');
        load(button, c.bytes);
        EXPECT_EQ(button.left, 5) << c.name;
        EXPECT_EQ(button.upFace.value, 3) << c.name;
        EXPECT_EQ(button.downFace.value, 16) << c.name;
        EXPECT_EQ(button.selectorId, 4) << c.name;
        EXPECT_TRUE(button.toggle) << c.name;
        EXPECT_STREQ(reinterpret_cast<const char*>(button.downEvent.data()), c.down) << c.name;
        EXPECT_STREQ(reinterpret_cast<const char*>(button.upEvent.data()), c.up) << c.name;
        EXPECT_EQ(button.entryPageId, c.entryPageId) << c.name;
        EXPECT_EQ(button.holdTime, c.holdTime) << c.name;
    }
}

TEST(Records, HotspotVersions) {
    TUserHotspot written;
    written.targetPageId = 10004;
    written.requirePin = true;
    written.pin = u"9876";
    TUserHotspot back;
    load(back, store(written));
    EXPECT_EQ(back.targetPageId, 10004);
    EXPECT_TRUE(back.requirePin);
    EXPECT_EQ(back.pin, u"9876");

    TUserHotspot old;
    old.requirePin = true;
    old.pin = u"stale";
    load(old, ByteBuilder().object(4, 0, 0, 10, 10).i32(1).i32(10002).bytes);
    EXPECT_EQ(old.targetPageId, 10002);
    EXPECT_FALSE(old.requirePin);
    EXPECT_TRUE(old.pin.empty());
}

TEST(Records, RichPageRoundTripsByteForByte) {
    auto page = richPage();
    const Bytes bytes = store(*page);
    TUserPage back(nullptr, u"");
    load(back, bytes);
    ASSERT_EQ(back.objects.size(), 5u);
    EXPECT_EQ(back.name, page->name);
    EXPECT_EQ(back.pageId, 10042);
    EXPECT_EQ(typeid(*back.objects[0]), typeid(TUserButton));
    EXPECT_EQ(typeid(*back.objects[1]), typeid(TUserLevel));
    EXPECT_EQ(typeid(*back.objects[2]), typeid(TUserImage));
    EXPECT_EQ(typeid(*back.objects[3]), typeid(TUserHotspot));
    EXPECT_EQ(back.objects[4]->kind, 7);
    EXPECT_EQ(store(back), bytes);
}

// Every record's reader, cut at every length short of the whole, refuses with DecodeError.
TEST(Records, TruncatedRecordsAreRefused) {
    auto page = richPage();
    CBtn8Ctrl btn8(nullptr, u"8 Button");
    CNumericCtrl numeric(nullptr, u"Data Entry");
    numeric.textLines = {u"a", u"b", u"c", u"d"};
    TUserFace face;
    face.text = u"caption";
    TUserHotspot hotspot;
    hotspot.pin = u"1";

    struct Case {
        const char* name;
        Bytes bytes;
        std::function<void(CDataStore&)> read;
    };
    const Case cases[] = {
        {"user page", store(*page),
         [](CDataStore& ar) {
             TUserPage p(nullptr, u"");
             p.Serialize(ar);
         }},
        {"eight-button page", store(btn8),
         [](CDataStore& ar) {
             CBtn8Ctrl p(nullptr, u"");
             p.Serialize(ar);
         }},
        {"data-entry page", store(numeric),
         [](CDataStore& ar) {
             CNumericCtrl p(nullptr, u"");
             p.Serialize(ar);
         }},
        {"face", store(face),
         [](CDataStore& ar) {
             TUserFace f;
             f.Serialize(ar);
         }},
        {"hot spot", store(hotspot),
         [](CDataStore& ar) {
             TUserHotspot h;
             h.Serialize(ar);
         }},
        {"old page", ByteBuilder().i32(1).ansi("name").bytes,
         [](CDataStore& ar) {
             TListItem p(nullptr, u"");
             p.Serialize(ar);
         }},
        {"v2 button", buttonHead(2).fill(160).bytes,
         [](CDataStore& ar) {
             TUserButton b;
             b.Serialize(ar);
         }},
    };
    for (const auto& c : cases) {
        for (std::size_t cut = 0; cut < c.bytes.size(); ++cut) {
            // A copy of exactly `cut` bytes, so a read past it is a real out-of-bounds read under ASan.
            std::unique_ptr<std::uint8_t[]> part(new std::uint8_t[cut == 0 ? 1 : cut]);
            std::memcpy(part.get(), c.bytes.data(), cut);
            CDataStore ar(part.get(), static_cast<std::int32_t>(cut));
            EXPECT_THROW(c.read(ar), DecodeError) << c.name << " cut at " << cut;
        }
        CDataStore whole(c.bytes.data(), static_cast<std::int32_t>(c.bytes.size()));
        EXPECT_NO_THROW(c.read(whole)) << c.name;
    }
}

TEST(Records, AFailedPageReadKeepsThePage) {
    auto page = richPage();
    const Bytes before = store(*page);
    Bytes damaged = before;
    damaged.resize(damaged.size() - 3);
    TUserPage target(nullptr, u"Kept");
    target.pageId = 10001;
    target.AddObject(std::make_unique<TUserButton>());
    const Bytes kept = store(target);
    CDataStore ar(damaged.data(), static_cast<std::int32_t>(damaged.size()));
    EXPECT_THROW(target.Serialize(ar), DecodeError);
    EXPECT_EQ(store(target), kept);
}

} // namespace
