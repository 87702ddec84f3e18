#include "RichLayout.h"

#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CDataStore.h"
#include "layout/CNumericCtrl.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"

std::unique_ptr<Picture> TestPicture(int width, int height, std::uint8_t seed, bool alpha) {
    auto picture = std::make_unique<Picture>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture->SetPixel(x, y,
                              {static_cast<std::uint8_t>(seed + x * 16), static_cast<std::uint8_t>(seed ^ (y * 32)),
                               static_cast<std::uint8_t>(x * y), static_cast<std::uint8_t>(alpha ? 40 * x : 255)});
        }
    }
    picture->SetHasAlpha(alpha);
    return picture;
}

std::unique_ptr<Picture> NoisePicture(int width, int height, std::mt19937& random) {
    auto picture = std::make_unique<Picture>(width, height);
    std::uint8_t* pixel = picture->Data();
    for (int i = 0; i < width * height; ++i, pixel += 4) {
        const std::uint32_t bits = random();
        pixel[0] = static_cast<std::uint8_t>(bits);
        pixel[1] = static_cast<std::uint8_t>(bits >> 8);
        pixel[2] = static_cast<std::uint8_t>(bits >> 16);
        pixel[3] = 255;
    }
    return picture;
}

std::int32_t AddTestImage(TLayout& layout, std::uint8_t seed) {
    auto entry = std::make_unique<TImageEntry>();
    entry->id = layout.NextImageId();
    entry->description = u"Image \u00E9 " + std::u16string(1, static_cast<char16_t>(u'A' + seed % 26));
    entry->SetImage(TestPicture(4, 3, seed, seed % 2 == 1));
    entry->guid = NewGuid();
    const std::int32_t id = entry->id;
    layout.images.insert(layout.images.begin(), std::move(entry));
    return id;
}

namespace {

void setSlot(std::span<std::uint8_t> slot, const char16_t* text) {
    StoreAnsiSlot(text, slot, 80);
}

TUserFace& imageFace(TUserFace& face, std::int32_t id) {
    face.kind = TUserFace::kImage;
    face.value = id;
    face.text = u"Caption";
    face.textColor = 0x00FFFFFF;
    face.textSize = TUserFace::kSmall;
    return face;
}

} // namespace

void MakeRichLayout(TLayout& layout) {
    layout.controlName = u"Salle \u00E0 manger";
    layout.audibleFeedback = 0;
    layout.sleepTimeout = 120;
    layout.defaultPageTimeout = 45;
    layout.pinOnWakeup = 1;
    layout.autoBrightness = 1;
    layout.manualBrightness = 55;
    layout.timeoutPin = u"1234";
    layout.securityPin = u"9999";
    for (int i = 0; i < TLayout::kEventCount; ++i) {
        const std::u16string n = std::u16string(u"Event ") + static_cast<char16_t>(u'A' + i);
        StoreAnsiSlot(n + u" description", {layout.EventDescription(i), TLayout::kEventBytes}, 80);
        StoreAnsiSlot(n + u" text \u00FC", {layout.EventText(i), TLayout::kEventBytes}, 80);
    }

    const std::int32_t background = AddTestImage(layout, 1);
    const std::int32_t shared = AddTestImage(layout, 2);
    const std::int32_t sliderImage = AddTestImage(layout, 3);
    const std::int32_t sleepImage = AddTestImage(layout, 4);
    AddTestImage(layout, 5); // used by nothing: purged on encode

    auto user = std::make_unique<TUserPage>(&layout, u"\u4E2D\u6587 page");
    imageFace(user->face, background);
    auto button = std::make_unique<TUserButton>();
    button->left = 10;
    button->top = 20;
    button->width = 80;
    button->height = 40;
    button->upFace.kind = TUserFace::kButtonFace;
    button->upFace.value = 5;
    button->upFace.text = u"On";
    imageFace(button->downFace, shared);
    setSlot(button->downEvent, u"LIGHT ON");
    setSlot(button->upEvent, u"LIGHT OFF");
    button->entryPageId = 10002;
    button->holdTime = 3;
    user->AddObject(std::move(button));
    auto selector = std::make_unique<TUserButton>();
    selector->selectorId = 7;
    selector->toggle = true;
    selector->upFace.kind = TUserFace::kColor;
    selector->upFace.value = TUserFace::kRadial;
    selector->upFace.color1 = 0x000000FF;
    selector->upFace.color2 = 0x00FF0000;
    user->AddObject(std::move(selector));
    auto level = std::make_unique<TUserLevel>();
    level->left = 260;
    level->width = 45;
    level->height = 130;
    level->controlId = 4;
    level->sliderImageId = sliderImage;
    user->AddObject(std::move(level));
    auto image = std::make_unique<TUserImage>();
    imageFace(image->face, shared);
    image->width = 4;
    image->height = 3;
    user->AddObject(std::move(image));
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->width = 60;
    hotspot->height = 30;
    hotspot->targetPageId = 10001;
    hotspot->requirePin = true;
    hotspot->pin = u"42";
    user->AddObject(std::move(hotspot));
    auto plain = std::make_unique<TUserObject>(7);
    plain->width = 1;
    user->AddObject(std::move(plain));
    auto blank = std::make_unique<TUserImage>();
    blank->face.kind = 5; // not a kind we draw; kept as it is
    user->AddObject(std::move(blank));
    layout.InsertPageAfter(std::move(user), nullptr);

    auto btn8 = std::make_unique<CBtn8Ctrl>(&layout, u"8 Button");
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        setSlot(btn8->buttonLabels[static_cast<std::size_t>(i)], u"Label");
        setSlot(btn8->buttonEvents[static_cast<std::size_t>(i)], u"EVT");
    }
    layout.InsertPageAfter(std::move(btn8), nullptr);

    auto numeric = std::make_unique<CNumericCtrl>(&layout, u"Data Entry");
    numeric->backgroundColor = 0x00102030;
    numeric->primaryColor = 0x00405060;
    numeric->highlightColor = 0x00708090;
    numeric->textColor = 0x00A0B0C0;
    numeric->textLines = {u"Code?", u"", u"\u00C9tage", u"hidden"};
    layout.InsertPageAfter(std::move(numeric), nullptr);
    layout.defaultPageId = 10001;

    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"sleep");
    imageFace(layout.sleepPage->face, sleepImage);
}

std::vector<std::uint8_t> Snapshot(TLayout& layout) {
    CDataStore ar;
    ar.WriteString(layout.controlName);
    for (std::int32_t v : {layout.audibleFeedback, layout.sleepTimeout, layout.defaultPageTimeout, layout.pinOnWakeup,
                           layout.defaultPageId})
        ar.WriteInt(v);
    ar.WriteByte(layout.autoBrightness);
    ar.WriteByte(layout.manualBrightness);
    ar.WriteString(layout.timeoutPin);
    ar.WriteString(layout.securityPin);
    for (const auto& page : layout.pages) {
        ar.WriteInt(page->kind);
        page->Serialize(ar);
    }
    for (const auto& entry : layout.images) {
        ar.WriteInt(entry->id);
        ar.WriteBytes(entry->guid.data(), 16);
        ar.WriteInt(entry->Image() != nullptr ? entry->Image()->Width() : -1);
    }
    for (const auto& glyph : layout.glyphs)
        glyph->Serialize(ar);
    ar.WriteBytes(layout.eventDescriptions.data(), static_cast<std::int32_t>(layout.eventDescriptions.size()));
    ar.WriteBytes(layout.eventTexts.data(), static_cast<std::int32_t>(layout.eventTexts.size()));
    ar.WriteInt(layout.sleepPage ? 1 : 0);
    if (layout.sleepPage)
        layout.sleepPage->Serialize(ar);
    const auto r = ar.Result();
    return {r.begin(), r.end()};
}
