#include "CraftedImages.h"
#include "FileFixture.h"
#include "RichLayout.h"
#include "TempDir.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class LayoutFiles : public FileFixture {};

// A user page whose button shows the same user image up and down, with a slider on another.
TUserPage* pageWithImages(TLayout& layout, std::int32_t& faceImage, std::int32_t& sliderImage) {
    faceImage = AddTestImage(layout, 1);
    sliderImage = AddTestImage(layout, 2);
    auto* page =
        static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Page \u00E9"), nullptr));
    auto button = std::make_unique<TUserButton>();
    button->upFace.kind = TUserFace::kImage;
    button->upFace.value = faceImage;
    button->downFace.kind = TUserFace::kImage;
    button->downFace.value = faceImage;
    page->AddObject(std::move(button));
    auto level = std::make_unique<TUserLevel>();
    level->sliderImageId = sliderImage;
    page->AddObject(std::move(level));
    auto builtin = std::make_unique<TUserImage>();
    builtin->face.kind = TUserFace::kImage;
    builtin->face.value = 1; // built-ins are never written
    page->AddObject(std::move(builtin));
    return page;
}

std::int32_t buttonUpImage(const TUserPage& page) {
    return static_cast<const TUserButton&>(*page.objects[0]).upFace.value;
}
std::int32_t buttonDownImage(const TUserPage& page) {
    return static_cast<const TUserButton&>(*page.objects[0]).downFace.value;
}
std::int32_t sliderImageOf(const TUserPage& page) {
    return static_cast<const TUserLevel&>(*page.objects[1]).sliderImageId;
}

TEST_F(LayoutFiles, FreshTemplateIs12354Bytes) {
    TLayout layout;
    ASSERT_TRUE(layout.SaveTemplate(path("fresh.zyl")));
    const Bytes bytes = read(path("fresh.zyl"));
    ASSERT_EQ(bytes.size(), 12354u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0xD5, 0xCA, 0xAD, 0xAB}));
}

TEST_F(LayoutFiles, TemplateRoundTrip) {
    TLayout layout;
    MakeRichLayout(layout);
    ASSERT_TRUE(layout.SaveTemplate(path("rich.zyl")));
    TLayout back;
    std::string error;
    ASSERT_TRUE(back.LoadTemplate(path("rich.zyl"), &error)) << error;
    EXPECT_EQ(back.pages.size(), 3u);
    EXPECT_EQ(back.controlName, layout.controlName);
}

TEST_F(LayoutFiles, TemplateSizeLimitAndBadFiles) {
    TLayout fresh;
    ASSERT_TRUE(fresh.SaveTemplate(path("t.zyl")));
    Bytes exact = read(path("t.zyl"));
    exact.resize(500000, 0); // nothing follows the last part, so padding is harmless
    write(path("exact.zyl"), exact);
    Bytes over = exact;
    over.push_back(0);
    write(path("over.zyl"), over);
    write(path("magic-only.zyl"), Bytes{0xD5, 0xCA, 0xAD, 0xAB});
    write(path("page-magic.zyl"), Bytes{0xD6, 0xCA, 0xAD, 0xAB, 8, 0, 0, 0});
    Bytes damaged = read(path("t.zyl"));
    damaged.resize(200);
    write(path("damaged.zyl"), damaged);

    struct Case {
        std::string file;
        bool loads;
        std::string reasonPart;
    };
    const Case cases[] = {
        {"exact.zyl", true, ""},
        {"over.zyl", false, "too large"},
        {"magic-only.zyl", false, "not a ZYL-1 template file"},
        {"page-magic.zyl", false, "not a ZYL-1 template file"},
        {"damaged.zyl", false, "damaged"},
        {"missing.zyl", false, "No such file"},
    };
    for (const auto& c : cases) {
        TLayout layout;
        MakeRichLayout(layout);
        const Bytes before = Snapshot(layout);
        std::string error;
        EXPECT_EQ(layout.LoadTemplate(path(c.file), &error), c.loads) << c.file;
        if (!c.loads) {
            EXPECT_NE(error.find(c.reasonPart), std::string::npos) << c.file << ": " << error;
            EXPECT_EQ(Snapshot(layout), before) << c.file;
        }
    }
}

TEST_F(LayoutFiles, FailedSaveKeepsTheOldFile) {
    TLayout layout;
    std::string error;
    EXPECT_FALSE(layout.SaveTemplate(path("no/such/folder/x.zyl"), &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    // A folder in the target's place cannot be replaced by a file.
    fs::create_directories(path("taken.zyl/inside"));
    EXPECT_FALSE(layout.SaveTemplate(path("taken.zyl"), &error));
    EXPECT_TRUE(fs::is_directory(path("taken.zyl/inside")));
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_EQ(entry.path().filename().string().find(".zyl-save"), std::string::npos) << "temporary left behind";

    ASSERT_TRUE(layout.SaveTemplate(path("ok.zyl")));
    layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr);
    ASSERT_TRUE(layout.SaveTemplate(path("ok.zyl")));
    EXPECT_GT(read(path("ok.zyl")).size(), 12354u);
}

TEST_F(LayoutFiles, PageFileWritesEachReferenceAndImportsEachImageOnce) {
    TLayout source;
    std::int32_t faceImage = 0;
    std::int32_t sliderImage = 0;
    TUserPage* page = pageWithImages(source, faceImage, sliderImage);
    ASSERT_TRUE(source.SavePage(*page, path("p.zup")));

    // The page record, then the face image twice (down face, up face) and the slider image.
    const Bytes bytes = read(path("p.zup"));
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0xD6, 0xCA, 0xAD, 0xAB}));
    TUserPage stored(nullptr, u"");
    std::vector<std::unique_ptr<TImageEntry>> entries;
    ASSERT_TRUE(ReadPageFile(path("p.zup"), stored, entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0]->id, faceImage);
    EXPECT_EQ(entries[1]->id, faceImage);
    EXPECT_EQ(entries[2]->id, sliderImage);

    TLayout target;
    auto* into = static_cast<TUserPage*>(target.InsertPageAfter(std::make_unique<TUserPage>(&target, u"old"), nullptr));
    ASSERT_TRUE(target.LoadPage(*into, path("p.zup")));
    EXPECT_EQ(into->name, u"Page \u00E9");
    EXPECT_EQ(target.NextImageId(), 10002);
    EXPECT_EQ(buttonUpImage(*into), buttonDownImage(*into));
    EXPECT_EQ(target.FindImage(buttonUpImage(*into))->guid, source.FindImage(faceImage)->guid);
    EXPECT_EQ(target.FindImage(sliderImageOf(*into))->guid, source.FindImage(sliderImage)->guid);

    // Loading again adds nothing and points the references at the same entries.
    const std::size_t imageCount = target.images.size();
    ASSERT_TRUE(target.LoadPage(*into, path("p.zup")));
    EXPECT_EQ(target.images.size(), imageCount);
    EXPECT_EQ(target.FindImage(buttonUpImage(*into))->guid, source.FindImage(faceImage)->guid);
}

TEST_F(LayoutFiles, CollidingIdsAreRenumberedAndEachReferenceFollowsItsImage) {
    TLayout source;
    std::int32_t faceImage = 0;
    std::int32_t sliderImage = 0;
    TUserPage* page = pageWithImages(source, faceImage, sliderImage); // 10000 and 10001
    ASSERT_TRUE(source.SavePage(*page, path("p.zup")));

    TLayout target;
    AddTestImage(target, 7); // 10000: a different image with the file's first ID
    AddTestImage(target, 8); // 10001
    TUserPage into(&target, u"");
    ASSERT_TRUE(target.LoadPage(into, path("p.zup")));
    // The face image becomes 10002, the slider image 10003; 10002 never gets renumbered again as
    // the slider's old ID 10001 is looked up.
    EXPECT_EQ(buttonUpImage(into), 10002);
    EXPECT_EQ(buttonDownImage(into), 10002);
    EXPECT_EQ(sliderImageOf(into), 10003);
    EXPECT_EQ(target.FindImage(10002)->guid, source.FindImage(faceImage)->guid);
    EXPECT_EQ(target.FindImage(10003)->guid, source.FindImage(sliderImage)->guid);
}

// Each image the layout does not hold yet takes one more than its largest user image ID; when the
// IDs up to the highest do not suffice for all of them, the file is refused and nothing changes.
TEST_F(LayoutFiles, ImportRefusesWhenTooFewImageIdsAreLeft) {
    constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
    TLayout source;
    std::int32_t faceImage = 0;
    std::int32_t sliderImage = 0;
    ASSERT_TRUE(source.SavePage(*pageWithImages(source, faceImage, sliderImage), path("p.zup")));
    const struct {
        std::int32_t largest;
        bool holdsFaceImage; // the layout's largest ID is the file's face image
        const char* refusal; // the counts the message gives; empty when the file loads
    } cases[] = {{kTop - 2, false, ""},
                 {kTop - 1, false, " brings 2 new images, but this layout has 1 image ID left: "},
                 {kTop - 1, true, ""},
                 {kTop, true, " brings 1 new image, but this layout has 0 image IDs left: "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.largest);
        TLayout target;
        AddTestImage(target, 3);
        target.images.front()->id = c.largest;
        if (c.holdsFaceImage)
            target.images.front()->guid = source.FindImage(faceImage)->guid;
        TUserPage into(&target, u"old");
        const Bytes before = Snapshot(target);
        std::string error;
        ASSERT_EQ(target.LoadPage(into, path("p.zup"), &error), *c.refusal == '\0') << error;
        if (*c.refusal != '\0') {
            EXPECT_EQ(error, "\"" + path("p.zup") + "\"" + c.refusal + "its largest image ID is " +
                                 std::to_string(c.largest) +
                                 ", and 2147483647 is the highest an ID can be. Nothing was loaded.");
            EXPECT_EQ(Snapshot(target), before);
            EXPECT_EQ(into.name, u"old");
            continue;
        }
        EXPECT_EQ(buttonUpImage(into), c.holdsFaceImage ? c.largest : c.largest + 1);
        EXPECT_EQ(sliderImageOf(into), kTop);
    }
}

template <typename T> T& addObject(TUserPage& page, std::unique_ptr<T> object = std::make_unique<T>()) {
    return static_cast<T&>(*page.AddObject(std::move(object)));
}

void setFace(TUserFace& face, std::int32_t kind, std::int32_t value) {
    face.kind = kind;
    face.value = value;
}

std::vector<std::int32_t> listedImages(const TUserPage& page) {
    std::vector<std::int32_t> ids;
    page.ForEachImageId([&](std::int32_t id) { ids.push_back(id); });
    return ids;
}

// For the page's face and every object kind: the page lists exactly the images the case names, in
// page-file order; a purge keeps exactly those; an import into a layout whose user IDs are all
// taken moves every one of them to its own new image. A field missed anywhere fails a case.
TEST_F(LayoutFiles, EveryImageReferenceIsKeptByPurgeAndFollowsImport) {
    using Ids = std::vector<std::int32_t>;
    struct Case {
        const char* name;
        // Puts the case on the page, naming images from `ids`; returns the IDs it references.
        std::function<Ids(TUserPage&, const Ids& ids)> make;
    };
    const Case cases[] = {
        {"page face",
         [](TUserPage& page, const Ids& ids) {
             setFace(page.face, TUserFace::kImage, ids[0]);
             return Ids{ids[0]};
         }},
        {"button: down face, then up face",
         [](TUserPage& page, const Ids& ids) {
             auto& button = addObject<TUserButton>(page);
             setFace(button.upFace, TUserFace::kImage, ids[0]);
             setFace(button.downFace, TUserFace::kImage, ids[1]);
             return Ids{ids[1], ids[0]};
         }},
        {"button faces of other kinds",
         [](TUserPage& page, const Ids& ids) {
             auto& button = addObject<TUserButton>(page);
             setFace(button.upFace, TUserFace::kButtonFace, ids[0]);
             setFace(button.downFace, TUserFace::kColor, ids[1]);
             return Ids{};
         }},
        {"level slider",
         [](TUserPage& page, const Ids& ids) {
             addObject<TUserLevel>(page).sliderImageId = ids[2];
             return Ids{ids[2]};
         }},
        {"image object",
         [](TUserPage& page, const Ids& ids) {
             setFace(addObject<TUserImage>(page).face, TUserFace::kImage, ids[1]);
             return Ids{ids[1]};
         }},
        {"image object in colour",
         [](TUserPage& page, const Ids& ids) {
             setFace(addObject<TUserImage>(page).face, TUserFace::kColor, ids[1]);
             return Ids{};
         }},
        {"hot spot",
         [](TUserPage& page, const Ids& ids) {
             addObject<TUserHotspot>(page).targetPageId = ids[0];
             return Ids{};
         }},
        {"object of an unknown kind",
         [](TUserPage& page, const Ids& ids) {
             addObject(page, std::make_unique<TUserObject>(ids[0]));
             return Ids{};
         }},
    };
    for (const auto& c : cases) {
        TLayout layout;
        const Ids ids = {AddTestImage(layout, 1), AddTestImage(layout, 2), AddTestImage(layout, 3)};
        auto* page =
            static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr));
        const Ids expected = c.make(*page, ids);
        EXPECT_EQ(listedImages(*page), expected) << c.name;
        ASSERT_TRUE(layout.SavePage(*page, path("refs.zup"))) << c.name;
        std::vector<Guid> want;
        for (std::int32_t id : expected)
            want.push_back(layout.FindImage(id)->guid);

        layout.PurgeUnusedImages();
        Ids kept;
        for (const auto& entry : layout.images) {
            if (entry->IsUserImage())
                kept.push_back(entry->id);
        }
        Ids keptExpected = expected;
        std::sort(kept.begin(), kept.end());
        std::sort(keptExpected.begin(), keptExpected.end());
        EXPECT_EQ(kept, keptExpected) << c.name;

        TLayout target;
        for (std::uint8_t seed : {7, 8, 9})
            AddTestImage(target, seed); // other images under the file's IDs
        TUserPage into(&target, u"");
        ASSERT_TRUE(target.LoadPage(into, path("refs.zup"))) << c.name;
        std::vector<Guid> got;
        for (std::int32_t id : listedImages(into)) {
            const TImageEntry* entry = target.FindImage(id);
            got.push_back(entry != nullptr ? entry->guid : Guid{});
        }
        EXPECT_EQ(got, want) << c.name;
    }
}

TEST_F(LayoutFiles, ImportTakesTheLastImageWithTheFilesGuid) {
    TLayout source;
    std::int32_t faceImage = 0;
    std::int32_t sliderImage = 0;
    TUserPage* page = pageWithImages(source, faceImage, sliderImage);
    ASSERT_TRUE(source.SavePage(*page, path("p.zup")));

    TLayout target;
    for (std::uint8_t seed : {4, 5, 6})
        AddTestImage(target, seed);
    for (int i = 0; i < 3; ++i)
        target.images[static_cast<std::size_t>(i)]->guid = source.FindImage(faceImage)->guid;
    // List order 10000, 10002, 10001: the last match is neither the first nor the lowest nor the highest ID.
    std::reverse(target.images.begin(), target.images.begin() + 3);
    std::swap(target.images[1], target.images[2]);
    const std::size_t count = target.images.size();
    TUserPage into(&target, u"");
    ASSERT_TRUE(target.LoadPage(into, path("p.zup")));
    EXPECT_EQ(buttonUpImage(into), 10001);
    EXPECT_EQ(buttonDownImage(into), 10001);
    EXPECT_EQ(target.images.size(), count + 1); // only the slider image is new
    EXPECT_EQ(sliderImageOf(into), 10003);
}

TEST_F(LayoutFiles, PageWithoutImagesAndBadPageFiles) {
    TLayout layout;
    TUserPage plain(&layout, u"Plain");
    ASSERT_TRUE(layout.SavePage(plain, path("plain.zup")));
    const Bytes plainBytes = read(path("plain.zup"));
    EXPECT_EQ(plainBytes.size(), 4u + 4 + 4 + 10 + 4 + 4 + 32 + 4);

    std::int32_t a = 0;
    std::int32_t b = 0;
    TLayout source;
    ASSERT_TRUE(source.SavePage(*pageWithImages(source, a, b), path("full.zup")));
    const Bytes full = read(path("full.zup"));
    write(path("magic-only.zup"), Bytes{0xD6, 0xCA, 0xAD, 0xAB});
    Bytes big = plainBytes;
    big.resize(300001, 0);
    write(path("big.zup"), big);

    TLayout target;
    AddTestImage(target, 3);
    TUserPage into(&target, u"Mine");
    into.AddObject(std::make_unique<TUserButton>());
    auto unchanged = [&] { return into.name == u"Mine" && into.objects.size() == 1 && target.images.size() == 13; };
    for (const char* file : {"magic-only.zup", "big.zup", "missing.zup"}) {
        EXPECT_FALSE(target.LoadPage(into, path(file))) << file;
        EXPECT_TRUE(unchanged()) << file;
    }
    int refused = 0;
    for (std::size_t cut = 5; cut < full.size(); cut += 7) {
        write(path("cut.zup"), Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
        std::string error;
        TLayout other;
        AddTestImage(other, 3);
        TUserPage otherPage(&other, u"Mine");
        // A cut between records still leaves a valid, shorter file.
        if (other.LoadPage(otherPage, path("cut.zup"), &error))
            continue;
        ++refused;
        ASSERT_TRUE(otherPage.name == u"Mine" && otherPage.objects.empty() && other.images.size() == 13)
            << "cut at " << cut << ": " << error;
    }
    EXPECT_GT(refused, 10);
    ASSERT_TRUE(target.LoadPage(into, path("plain.zup")));
    EXPECT_EQ(into.name, u"Plain");
    EXPECT_TRUE(into.objects.empty());
}

// What the loaders look at before the content: the magic, something after it, the kind's limit.
TEST(LayoutFileKinds, MagicAndSizeTellTheKind) {
    const Bytes templateMagic{0xD5, 0xCA, 0xAD, 0xAB};
    const Bytes pageMagic{0xD6, 0xCA, 0xAD, 0xAB};
    const auto padded = [](Bytes bytes, std::size_t size) {
        bytes.resize(size, 0xEE);
        return bytes;
    };
    const struct {
        const char* what;
        Bytes bytes;
        bool isTemplate;
        bool isPage;
    } cases[] = {
        {"nothing", {}, false, false},
        {"part of a magic", Bytes{0xD6, 0xCA, 0xAD}, false, false},
        {"template magic alone", templateMagic, false, false},
        {"page magic alone", pageMagic, false, false},
        {"template magic and a byte", padded(templateMagic, 5), true, false},
        {"page magic and a byte", padded(pageMagic, 5), false, true},
        {"another magic", Bytes{0xD7, 0xCA, 0xAD, 0xAB, 0}, false, false},
        {"page of 300000 bytes", padded(pageMagic, 300000), false, true},
        {"page of 300001 bytes", padded(pageMagic, 300001), false, false},
        {"template of 500000 bytes", padded(templateMagic, 500000), true, false},
        {"template of 500001 bytes", padded(templateMagic, 500001), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TLayout::IsTemplateFile(c.bytes), c.isTemplate) << c.what;
        EXPECT_EQ(TLayout::IsPageFile(c.bytes), c.isPage) << c.what;
    }
}

TEST_F(LayoutFiles, OversizedPageIsRefusedOnSave) {
    TLayout layout;
    auto entry = std::make_unique<TImageEntry>();
    entry->id = 10000;
    // Noise does not compress, so the PNG is larger than a page file may be.
    auto noise = std::make_unique<Picture>(400, 300);
    std::uint32_t state = 12345;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            state = state * 1664525u + 1013904223u;
            noise->SetPixel(x, y,
                            {static_cast<std::uint8_t>(state >> 24), static_cast<std::uint8_t>(state >> 16),
                             static_cast<std::uint8_t>(state >> 8), 255});
        }
    }
    entry->SetImage(std::move(noise));
    layout.images.insert(layout.images.begin(), std::move(entry));
    TUserPage page(&layout, u"big");
    page.face.kind = TUserFace::kImage;
    page.face.value = 10000;
    std::string error;
    EXPECT_FALSE(layout.SavePage(page, path("big.zup"), &error));
    EXPECT_NE(error.find("300000"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(path("big.zup")));
}

constexpr std::size_t kMaxTemplateImage = TLayout::kTemplateCapacity - 4;

// One user page showing an undecoded picture, sized so the layout image takes exactly `bytes`.
void fillToSize(TLayout& layout, std::size_t bytes) {
    const auto build = [](TLayout& into, std::size_t pngBytes) {
        auto* page = static_cast<TUserPage*>(into.InsertPageAfter(std::make_unique<TUserPage>(&into, u"p"), nullptr));
        AddKeptImage(into, *page, Bytes(pngBytes, 'x'));
    };
    TLayout probe;
    build(probe, 1000);
    const std::size_t base = probe.Encode(std::numeric_limits<std::int32_t>::max())->size();
    build(layout, 1000 + bytes - base);
}

// The largest template that saves is the largest that loads: 4 magic bytes and 499996 of layout.
TEST_F(LayoutFiles, TemplateSaveLimitMatchesTheLoader) {
    TLayout largest;
    fillToSize(largest, kMaxTemplateImage);
    ASSERT_EQ(largest.Encode(std::numeric_limits<std::int32_t>::max())->size(), kMaxTemplateImage);
    std::string error;
    ASSERT_TRUE(largest.SaveTemplate(path("largest.zyl"), &error)) << error;
    const Bytes saved = read(path("largest.zyl"));
    EXPECT_EQ(saved.size(), 500000u);
    TLayout back;
    ASSERT_TRUE(back.LoadTemplate(path("largest.zyl"), &error)) << error;
    ASSERT_TRUE(back.SaveTemplate(path("again.zyl"), &error)) << error;
    EXPECT_EQ(read(path("again.zyl")), saved); // the undecoded picture goes back as it came

    TLayout over;
    fillToSize(over, kMaxTemplateImage + 1);
    EXPECT_FALSE(over.SaveTemplate(path("largest.zyl"), &error));
    EXPECT_NE(error.find("500001 bytes"), std::string::npos) << error;
    EXPECT_NE(error.find("at most 500000"), std::string::npos) << error;
    EXPECT_EQ(read(path("largest.zyl")), saved);
}

// The same for page files, whose limit of 300000 bytes includes their magic.
TEST_F(LayoutFiles, PageSaveLimitMatchesTheLoader) {
    const auto pageFileOf = [&](TLayout& layout, TUserPage& page, std::size_t fileBytes) {
        TLayout probeLayout;
        TUserPage probe(&probeLayout, u"p");
        AddKeptImage(probeLayout, probe, Bytes(1000, 'x'));
        EXPECT_TRUE(probeLayout.SavePage(probe, path("probe.zup")));
        AddKeptImage(layout, page, Bytes(1000 + fileBytes - read(path("probe.zup")).size(), 'x'));
    };
    TLayout layout;
    TUserPage largest(&layout, u"p");
    pageFileOf(layout, largest, TLayout::kPageFileLimit);
    std::string error;
    ASSERT_TRUE(layout.SavePage(largest, path("largest.zup"), &error)) << error;
    const Bytes saved = read(path("largest.zup"));
    EXPECT_EQ(saved.size(), 300000u);
    TLayout target;
    TUserPage into(&target, u"");
    ASSERT_TRUE(target.LoadPage(into, path("largest.zup"), &error)) << error;
    ASSERT_TRUE(target.SavePage(into, path("again.zup"), &error)) << error;
    EXPECT_EQ(read(path("again.zup")), saved);

    TLayout other;
    TUserPage over(&other, u"p");
    pageFileOf(other, over, TLayout::kPageFileLimit + 1);
    EXPECT_FALSE(other.SavePage(over, path("largest.zup"), &error));
    EXPECT_NE(error.find("300001 bytes"), std::string::npos) << error;
    EXPECT_EQ(read(path("largest.zup")), saved);
}

// Pictures past the per-picture limit, as a few crafted kilobytes can declare, load in bounded
// time and memory, draw nothing and are written back exactly as they came.
TEST_F(LayoutFiles, HugeDeclaredPicturesLoadAndRoundTripUndecoded) {
    const Bytes huge = BlackPng(Picture::kMaxSide, Picture::kMaxSide);
    ASSERT_LT(huge.size(), 40000u);
    TLayout layout;
    auto* page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr));
    for (int i = 0; i < 14; ++i)
        AddKeptImage(layout, *page, huge);
    std::string error;
    ASSERT_TRUE(layout.SaveTemplate(path("huge.zyl"), &error)) << error;
    const Bytes saved = read(path("huge.zyl"));

    TLayout back;
    ASSERT_TRUE(back.LoadTemplate(path("huge.zyl"), &error)) << error;
    int kept = 0;
    for (const auto& entry : back.images) {
        if (entry->IsUserImage()) {
            EXPECT_TRUE(entry->Image()->IsEmpty());
            EXPECT_EQ(entry->KeptPng(), huge);
            ++kept;
        }
    }
    EXPECT_EQ(kept, 14);
    // Loading turns the order of the images round, so the second round trip gives the first file.
    ASSERT_TRUE(back.SaveTemplate(path("again.zyl"), &error)) << error;
    TLayout twice;
    ASSERT_TRUE(twice.LoadTemplate(path("again.zyl"), &error)) << error;
    ASSERT_TRUE(twice.SaveTemplate(path("twice.zyl"), &error)) << error;
    EXPECT_EQ(read(path("twice.zyl")), saved);

    // A page file carries them the same way.
    TUserPage few(&layout, u"few");
    for (int i = 0; i < 3; ++i)
        AddKeptImage(layout, few, huge);
    ASSERT_TRUE(layout.SavePage(few, path("huge.zup"), &error)) << error;
    TLayout target;
    TUserPage into(&target, u"");
    ASSERT_TRUE(target.LoadPage(into, path("huge.zup"), &error)) << error;
    ASSERT_EQ(target.images.size(), 12u + 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(target.images[static_cast<std::size_t>(i)]->KeptPng(), huge);
}

// Every picture of one layout draws on one budget: those read after it is spent stay undecoded.
TEST_F(LayoutFiles, OneLayoutDecodesAtMostItsPixelBudget) {
    const std::uint32_t side = TImageEntry::kMaxSide;
    ASSERT_EQ(TImageEntry::kPixelsPerLayout, 2 * std::int64_t{side} * side);
    TLayout layout;
    auto* page = static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"p"), nullptr));
    for (int i = 0; i < 3; ++i)
        AddKeptImage(layout, *page, BlackPng(side, side));
    std::string error;
    ASSERT_TRUE(layout.SaveTemplate(path("budget.zyl"), &error)) << error;

    TLayout back;
    ASSERT_TRUE(back.LoadTemplate(path("budget.zyl"), &error)) << error;
    int decoded = 0;
    int kept = 0;
    for (const auto& entry : back.images) {
        if (!entry->IsUserImage())
            continue;
        decoded += entry->Image()->Width() == static_cast<int>(side) ? 1 : 0;
        kept += entry->KeptPng().empty() ? 0 : 1;
    }
    EXPECT_EQ(decoded, 2);
    EXPECT_EQ(kept, 1);
}

} // namespace
