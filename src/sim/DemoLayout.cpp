#include "sim/DemoLayout.h"

#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"

#include <cmath>
#include <stdexcept>

namespace {

constexpr std::int32_t kDeepRound = 5;
constexpr std::int32_t kDeepRoundHighlight = 16;
constexpr std::int32_t kBlueSquare = 3;
constexpr std::int32_t kBlueGlow = 4;
constexpr std::int32_t kGreenGlow = 6;
constexpr std::int32_t kMainBackground = 1;

// Colours as the layout stores them: red in the low byte.
constexpr std::int32_t rgb(int r, int g, int b) {
    return r | g << 8 | b << 16;
}

double distance(double x, double y, double cx, double cy) {
    return std::hypot(x - cx, y - cy);
}

std::unique_ptr<Picture> drawLamp() {
    auto p = std::make_unique<Picture>(32, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 32; ++x) {
            Rgba c{0, 0, 0, 0};
            const double d = distance(x + 0.5, y + 0.5, 16, 15);
            if (d < 12)
                c = {255, static_cast<std::uint8_t>(230 - d * 4), 90, 255};
            else if (d < 15)
                c = {255, 220, 120, static_cast<std::uint8_t>(255 - (d - 12) * 70)};
            if (y >= 27 && y < 38 && x >= 11 && x < 21)
                c = y % 3 == 0 ? Rgba{90, 90, 100, 255} : Rgba{170, 170, 180, 255};
            p->SetPixel(x, y, c);
        }
    p->SetHasAlpha(true);
    return p;
}

std::unique_ptr<Picture> drawSun() {
    auto p = std::make_unique<Picture>(48, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const double d = distance(x + 0.5, y + 0.5, 24, 24);
            const double angle = std::atan2(y + 0.5 - 24, x + 0.5 - 24);
            Rgba c{0, 0, 0, 0};
            if (d < 13)
                c = {255, static_cast<std::uint8_t>(200 - d * 5), 30, 255};
            else if (d < 23 && std::cos(angle * 8) > 0.7)
                c = {255, 170, 40, 255};
            p->SetPixel(x, y, c);
        }
    p->SetHasAlpha(true);
    return p;
}

std::unique_ptr<Picture> drawNight() {
    auto p = std::make_unique<Picture>(96, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x) {
            Rgba c{10, 16, static_cast<std::uint8_t>(40 + y), 255};
            if (distance(x, y, 60, 30) < 18 && distance(x, y, 68, 24) >= 15)
                c = {240, 235, 200, 255};
            if ((x * 7 + y * 13) % 97 == 0)
                c = {255, 255, 255, 255};
            p->SetPixel(x, y, c);
        }
    return p;
}

std::unique_ptr<Picture> drawHouse() {
    auto p = std::make_unique<Picture>(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            Rgba c{40, 90, 60, 255};
            if (y < 14 && std::abs(x - 16) <= y + 2)
                c = {180, 50, 40, 255};
            else if (y >= 14 && y < 30 && x >= 6 && x < 26)
                c = x >= 13 && x < 19 && y >= 20 ? Rgba{90, 60, 30, 255} : Rgba{230, 220, 190, 255};
            p->SetPixel(x, y, c);
        }
    return p;
}

std::int32_t addImage(TLayout& layout, std::u16string description, std::unique_ptr<Picture> picture,
                      std::uint8_t mark) {
    auto entry = std::make_unique<TImageEntry>();
    entry->id = layout.NextImageId();
    entry->description = std::move(description);
    entry->SetImage(std::move(picture));
    for (std::size_t i = 0; i < entry->guid.size(); ++i)
        entry->guid[i] = static_cast<std::uint8_t>(0xD0 + mark * 16 + i);
    const std::int32_t id = entry->id;
    layout.images.insert(layout.images.begin(), std::move(entry));
    return id;
}

void slot(std::span<std::uint8_t> bytes, const std::u16string& text) {
    StoreAnsiSlot(text, bytes, 80);
}

void face(TUserFace& f, std::int32_t kind, std::int32_t value, std::u16string text = {}) {
    f.kind = kind;
    f.value = value;
    f.text = std::move(text);
    f.textColor = rgb(255, 255, 255);
    f.textSize = TUserFace::kMedium;
}

template <class T> T& place(TUserPage& page, std::unique_ptr<T> object, int left, int top, int width, int height) {
    object->left = left;
    object->top = top;
    object->width = width;
    object->height = height;
    return static_cast<T&>(*page.AddObject(std::move(object)));
}

TUserButton& button(TUserPage& page, int left, int top, const std::u16string& caption, const std::u16string& down,
                    const std::u16string& up) {
    auto& b = place(page, std::make_unique<TUserButton>(), left, top, 70, 36);
    face(b.upFace, TUserFace::kButtonFace, kDeepRound, caption);
    face(b.downFace, TUserFace::kButtonFace, kDeepRoundHighlight, caption);
    slot(b.downEvent, down);
    slot(b.upEvent, up);
    return b;
}

void fillLivingRoom(TUserPage& page, std::int32_t lamp, std::int32_t lightsPage, std::int32_t kitchenPage) {
    page.face.kind = TUserFace::kColor;
    page.face.value = TUserFace::kTopToBottom;
    page.face.color1 = rgb(20, 30, 70);
    page.face.color2 = rgb(5, 5, 20);
    page.face.text = u"Salon";
    page.face.textColor = rgb(230, 230, 255);

    auto& image = place(page, std::make_unique<TUserImage>(), 14, 14, 32, 40);
    face(image.face, TUserFace::kImage, lamp);
    button(page, 60, 16, u"On", u"LIGHT 1 ON", u"");
    button(page, 140, 16, u"Off", u"LIGHT 1 OFF", u"");
    auto& dimmer = place(page, std::make_unique<TUserLevel>(), 262, 20, 46, 150);
    dimmer.controlId = 1;
    for (int i = 0; i < 3; ++i) {
        static const char16_t* const kCaptions[] = {u"Low", u"Mid", u"High"};
        auto& b = button(page, 20 + i * 78, 90, kCaptions[i], u"FAN SPEED " + std::u16string(1, u'1' + i), u"");
        b.selectorId = 1;
        face(b.upFace, TUserFace::kColor, TUserFace::kRadial, kCaptions[i]);
        b.upFace.color1 = rgb(60, 70, 90);
        b.upFace.color2 = rgb(20, 25, 35);
        face(b.downFace, TUserFace::kButtonFace, kGreenGlow, kCaptions[i]);
    }
    auto& hold = button(page, 20, 150, u"Scene", u"SCENE EVENING", u"SCENE OFF");
    hold.toggle = true;
    hold.holdTime = 2;
    auto& lights = place(page, std::make_unique<TUserHotspot>(), 0, 200, 120, 40);
    lights.targetPageId = lightsPage;
    auto& kitchen = place(page, std::make_unique<TUserHotspot>(), 200, 200, 120, 40);
    kitchen.targetPageId = kitchenPage;
}

void fillKitchen(TUserPage& page, std::int32_t sun, std::int32_t house, std::int32_t codePage, std::int32_t homePage) {
    face(page.face, TUserFace::kImage, kMainBackground, u"Kitchen");
    auto& image = place(page, std::make_unique<TUserImage>(), 250, 10, 48, 48);
    face(image.face, TUserFace::kImage, sun);
    auto& blinds = button(page, 20, 20, u"Blinds", u"BLINDS UP", u"BLINDS STOP");
    face(blinds.upFace, TUserFace::kButtonFace, kBlueSquare, u"Blinds");
    face(blinds.downFace, TUserFace::kButtonFace, kBlueGlow, u"Blinds");
    auto& oven = button(page, 20, 70, u"Oven", u"OVEN ON", u"");
    oven.entryPageId = codePage;
    auto& caption = place(page, std::make_unique<TUserImage>(), 110, 70, 120, 30);
    face(caption.face, TUserFace::kColor, TUserFace::kLeftToRight, u"Timer 00:00");
    caption.face.color1 = rgb(0, 60, 0);
    caption.face.color2 = rgb(0, 20, 0);
    caption.face.textSize = TUserFace::kSmall;
    auto& level = place(page, std::make_unique<TUserLevel>(), 20, 130, 150, 46);
    level.controlId = 2;
    auto& home = place(page, std::make_unique<TUserImage>(), 270, 190, 32, 32);
    face(home.face, TUserFace::kImage, house);
    auto& back = place(page, std::make_unique<TUserHotspot>(), 262, 182, 48, 48);
    back.targetPageId = homePage;
    auto& locked = place(page, std::make_unique<TUserHotspot>(), 180, 130, 80, 46);
    locked.targetPageId = codePage;
    locked.requirePin = true;
    locked.pin = u"2468";
}

void fillEightButtons(CBtn8Ctrl& page, const char16_t* const (&labels)[CBtn8Ctrl::kButtons], const char16_t* event) {
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        const auto n = static_cast<std::size_t>(i);
        slot(page.buttonLabels[n], labels[i]);
        slot(page.buttonEvents[n], std::u16string(event) + std::u16string(1, static_cast<char16_t>(u'1' + i)));
    }
}

} // namespace

void MakeDemoLayout(TLayout& layout) {
    layout.controlName = u"ZYL-1 Demo";
    layout.audibleFeedback = 1;
    layout.sleepTimeout = 300;
    layout.defaultPageTimeout = 120;
    layout.pinOnWakeup = 0;
    layout.autoBrightness = 1;
    layout.manualBrightness = 80;
    layout.timeoutPin = u"1234";
    layout.securityPin = u"4321";
    const std::u16string events[][2] = {
        {u"Living room light", u"LIGHT 1 TOGGLE"},
        {u"Kitchen light", u"LIGHT 2 TOGGLE"},
        {u"All off", u"ALL OFF"},
        {u"Blinds", u"BLINDS TOGGLE"},
        {u"Doorbell", u"CHIME"},
        {u"Caf\u00E9 machine", u"COFFEE ON"},
    };
    for (std::size_t i = 0; i < std::size(events); ++i) {
        StoreAnsiSlot(events[i][0], {layout.EventDescription(static_cast<int>(i)), TLayout::kEventBytes}, 80);
        StoreAnsiSlot(events[i][1], {layout.EventText(static_cast<int>(i)), TLayout::kEventBytes}, 80);
    }

    const std::int32_t lamp = addImage(layout, u"Lamp", drawLamp(), 1);
    const std::int32_t sun = addImage(layout, u"Sun", drawSun(), 2);
    const std::int32_t night = addImage(layout, u"Night sky", drawNight(), 3);
    const std::int32_t house = addImage(layout, u"House", drawHouse(), 4);

    // Pages first, so that objects can point at each other's IDs.
    auto* living = static_cast<TUserPage*>(
        layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Salon \u5BA2\u5385"), nullptr));
    auto* kitchen =
        static_cast<TUserPage*>(layout.InsertPageAfter(std::make_unique<TUserPage>(&layout, u"Kitchen"), nullptr));
    auto* lights =
        static_cast<CBtn8Ctrl*>(layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"Lights"), nullptr));
    auto* scenes =
        static_cast<CBtn8Ctrl*>(layout.InsertPageAfter(std::make_unique<CBtn8Ctrl>(&layout, u"Scenes"), nullptr));
    auto* code =
        static_cast<CNumericCtrl*>(layout.InsertPageAfter(std::make_unique<CNumericCtrl>(&layout, u"Code"), nullptr));
    auto* thermostat = static_cast<CNumericCtrl*>(
        layout.InsertPageAfter(std::make_unique<CNumericCtrl>(&layout, u"Thermostat"), nullptr));

    fillLivingRoom(*living, lamp, lights->pageId, kitchen->pageId);
    fillKitchen(*kitchen, sun, house, code->pageId, living->pageId);
    fillEightButtons(*lights, {u"Hall", u"Porch", u"Stairs", u"Study", u"Bath", u"Garden", u"Garage", u"All"},
                     u"LIGHT TOGGLE ");
    fillEightButtons(*scenes, {u"Morning", u"Day", u"Evening", u"Night", u"Movie", u"Dinner", u"Away", u"Party"},
                     u"SCENE ");
    code->backgroundColor = rgb(20, 20, 30);
    code->primaryColor = rgb(60, 80, 140);
    code->highlightColor = rgb(240, 180, 40);
    code->textColor = rgb(255, 255, 255);
    code->textLines = {u"Enter the code", u"", u"", u""};
    thermostat->backgroundColor = rgb(30, 10, 10);
    thermostat->primaryColor = rgb(160, 60, 40);
    thermostat->highlightColor = rgb(255, 220, 120);
    thermostat->textColor = rgb(255, 240, 230);
    thermostat->textLines = {u"Temperature", u"in \u00B0C", u"", u"17 to 25"};
    layout.defaultPageId = living->pageId;

    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"Sleep");
    face(layout.sleepPage->face, TUserFace::kImage, night, u"Touch to wake");
    auto& wake = place(*layout.sleepPage, std::make_unique<TUserHotspot>(), 0, 0, 320, 240);
    wake.targetPageId = living->pageId;
}

std::vector<std::uint8_t> DemoLayoutImage() {
    TLayout layout;
    MakeDemoLayout(layout);
    std::string error;
    auto image = layout.Encode(TLayout::kUploadCapacity, &error);
    if (!image)
        throw std::runtime_error("the demo layout does not encode: " + error);
    return std::move(*image);
}
