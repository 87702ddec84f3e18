#include "sim/DemoLayout.h"

#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserImage.h"
#include "layout/TUserLevel.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr std::int32_t kDeepRound = 5;
constexpr std::int32_t kDeepRoundHighlight = 16;
constexpr std::int32_t kBlueSquare = 3;
constexpr std::int32_t kBlueGlow = 4;
constexpr std::int32_t kGreenGlow = 6;
constexpr std::int32_t kDeepSquare = 8;
constexpr std::int32_t kSquareGrey = 9;
constexpr std::int32_t kMainBackground = 1;
// Sliders set the level of a mixer channel: the living room's speakers and the kitchen's.
constexpr std::int32_t kSpeakerA = 6;
constexpr std::int32_t kSpeakerB = 7;

// Colours as the layout stores them: red in the low byte.
constexpr std::int32_t rgb(int r, int g, int b) {
    return r | g << 8 | b << 16;
}

double distance(double x, double y, double cx, double cy) {
    return std::hypot(x - cx, y - cy);
}

std::uint8_t channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

// 1 inside a disc of radius r, 0 outside, with a one-pixel soft edge.
double coverage(double d, double r) {
    return std::clamp(r + 0.5 - d, 0.0, 1.0);
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

// The whole sleep screen: a night sky over dark hills, the moon high on the right and stars
// everywhere except the middle, where the page's caption goes.
std::unique_ptr<Picture> drawNight() {
    constexpr int kWidth = 320;
    constexpr int kHeight = 240;
    auto p = std::make_unique<Picture>(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double fy = static_cast<double>(y) / kHeight;
            double r = 6 + 20 * fy, g = 10 + 26 * fy, b = 34 + 60 * fy;
            const double glow = std::max(0.0, 1.0 - distance(x, y, 246, 62) / 90);
            r += 30 * glow * glow, g += 30 * glow * glow, b += 40 * glow * glow;
            const bool captionBand = y > 96 && y < 144 && x > 70 && x < 250;
            const unsigned hash = static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
            if (!captionBand && y < 180 && hash % 211 == 0) {
                const double twinkle = 150 + (hash >> 8) % 105;
                r = g = b = twinkle;
            }
            // The crescent: a full disc less a disc moved to the upper left.
            const double moon = coverage(distance(x + 0.5, y + 0.5, 246, 62), 26) *
                                (1 - coverage(distance(x + 0.5, y + 0.5, 234, 54), 23));
            r += (242 - r) * moon, g += (236 - g) * moon, b += (200 - b) * moon;
            const double hill = 200 + 12 * std::sin(x / 37.0) + 7 * std::sin(x / 13.0 + 2);
            if (y > hill)
                r = 8, g = 14 + 8 * std::sin(x / 29.0), b = 18;
            p->SetPixel(x, y, {channel(r), channel(g), channel(b), 255});
        }
    return p;
}

std::unique_ptr<Picture> drawHouse() {
    auto p = std::make_unique<Picture>(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            Rgba c{0, 0, 0, 0};
            if (y < 14 && std::abs(x - 16) <= y + 2)
                c = {180, 50, 40, 255};
            else if (y >= 14 && y < 30 && x >= 6 && x < 26)
                c = x >= 13 && x < 19 && y >= 20 ? Rgba{90, 60, 30, 255} : Rgba{230, 220, 190, 255};
            p->SetPixel(x, y, c);
        }
    p->SetHasAlpha(true);
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

TUserButton& button(TUserPage& page, int left, int top, int width, const std::u16string& caption,
                    const std::u16string& down, const std::u16string& up = {}) {
    auto& b = place(page, std::make_unique<TUserButton>(), left, top, width, 36);
    face(b.upFace, TUserFace::kButtonFace, kDeepRound, caption);
    face(b.downFace, TUserFace::kButtonFace, kDeepRoundHighlight, caption);
    slot(b.downEvent, down);
    slot(b.upEvent, up);
    return b;
}

// A caption with no face of its own, lying on the page's background.
void label(TUserPage& page, int left, int top, int width, int height, const std::u16string& text) {
    auto& l = place(page, std::make_unique<TUserImage>(), left, top, width, height);
    face(l.face, TUserFace::kBlank, 0, text);
    l.face.textColor = rgb(190, 200, 225);
    l.face.textSize = TUserFace::kSmall;
}

// A hot spot is invisible on the panel, so a captioned tile under it shows where to touch.
TUserHotspot& tab(TUserPage& page, int left, int top, int width, int height, const std::u16string& caption,
                  std::int32_t target) {
    auto& tile = place(page, std::make_unique<TUserImage>(), left, top, width, height);
    face(tile.face, TUserFace::kColor, TUserFace::kTopToBottom, caption);
    tile.face.color1 = rgb(50, 64, 110);
    tile.face.color2 = rgb(24, 30, 56);
    auto& spot = place(page, std::make_unique<TUserHotspot>(), left, top, width, height);
    spot.targetPageId = target;
    return spot;
}

struct PageIds {
    std::int32_t living, kitchen, lights, security, oven, thermostat;
};

struct ImageIds {
    std::int32_t lamp, sun, night, house;
};

// The caption of the page's background is drawn in its middle: the objects leave a band clear for it.
void fillLivingRoom(TUserPage& page, const ImageIds& images, const PageIds& pages) {
    page.face.kind = TUserFace::kColor;
    page.face.value = TUserFace::kTopToBottom;
    page.face.color1 = rgb(20, 30, 70);
    page.face.color2 = rgb(5, 5, 20);
    page.face.text = u"Living room";
    page.face.textColor = rgb(230, 230, 255);
    page.face.textSize = TUserFace::kLarge;

    auto& lamp = place(page, std::make_unique<TUserImage>(), 14, 14, 32, 40);
    face(lamp.face, TUserFace::kImage, images.lamp);
    button(page, 56, 14, 90, u"On", u"LIGHT 1 ON");
    button(page, 156, 14, 90, u"Off", u"LIGHT 1 OFF");
    auto& evening = button(page, 56, 58, 190, u"Evening", u"SCENE EVENING", u"SCENE OFF");
    evening.toggle = true;
    evening.holdTime = 2;
    label(page, 258, 12, 58, 14, u"Music");
    auto& volume = place(page, std::make_unique<TUserLevel>(), 264, 30, 46, 150);
    volume.controlId = kSpeakerA;

    label(page, 14, 146, 36, 36, u"Fan");
    static const char16_t* const kSpeeds[] = {u"Low", u"Mid", u"High"};
    for (int i = 0; i < 3; ++i) {
        auto& b = button(page, 54 + i * 70, 146, 64, kSpeeds[i], u"FAN SPEED " + std::u16string(1, u'1' + i));
        b.selectorId = 1;
        b.toggle = true;
        face(b.upFace, TUserFace::kColor, TUserFace::kRadial, kSpeeds[i]);
        b.upFace.color1 = rgb(70, 80, 105);
        b.upFace.color2 = rgb(20, 25, 40);
        face(b.downFace, TUserFace::kButtonFace, kGreenGlow, kSpeeds[i]);
    }

    tab(page, 4, 198, 100, 38, u"Lights", pages.lights);
    auto& security = tab(page, 110, 198, 100, 38, u"Security", pages.security);
    security.requirePin = true;
    security.pin = u"2468";
    tab(page, 216, 198, 100, 38, u"Kitchen", pages.kitchen);
}

void fillKitchen(TUserPage& page, const ImageIds& images, const PageIds& pages) {
    face(page.face, TUserFace::kImage, kMainBackground, u"Kitchen");
    page.face.textSize = TUserFace::kLarge;

    auto& blinds = button(page, 14, 14, 90, u"Blinds", u"BLINDS UP", u"BLINDS STOP");
    face(blinds.upFace, TUserFace::kButtonFace, kBlueSquare, u"Blinds");
    face(blinds.downFace, TUserFace::kButtonFace, kBlueGlow, u"Blinds");
    button(page, 114, 14, 90, u"Coffee", u"COFFEE ON");
    auto& sun = place(page, std::make_unique<TUserImage>(), 250, 8, 48, 48);
    face(sun.face, TUserFace::kImage, images.sun);
    auto& oven = button(page, 14, 58, 90, u"Oven", u"OVEN TIMER");
    oven.entryPageId = pages.oven;
    auto& heating = button(page, 114, 58, 90, u"Heating", u"HEAT SET");
    heating.entryPageId = pages.thermostat;
    for (auto* b : {&oven, &heating}) {
        b->upFace.value = kDeepSquare;
        b->downFace.value = kSquareGrey;
    }

    label(page, 14, 150, 190, 12, u"Music");
    auto& volume = place(page, std::make_unique<TUserLevel>(), 14, 164, 190, 46);
    volume.controlId = kSpeakerB;
    auto& home = place(page, std::make_unique<TUserImage>(), 264, 186, 48, 48);
    face(home.face, TUserFace::kImage, images.house);
    auto& back = place(page, std::make_unique<TUserHotspot>(), 264, 186, 48, 48);
    back.targetPageId = pages.living;
}

void fillEightButtons(CBtn8Ctrl& page, const char16_t* const (&buttons)[CBtn8Ctrl::kButtons][2]) {
    for (int i = 0; i < CBtn8Ctrl::kButtons; ++i) {
        const auto n = static_cast<std::size_t>(i);
        slot(page.buttonLabels[n], buttons[i][0]);
        slot(page.buttonEvents[n], buttons[i][1]);
    }
}

void colours(CNumericCtrl& page, std::int32_t background, std::int32_t primary, std::int32_t highlight,
             std::int32_t text) {
    page.backgroundColor = background;
    page.primaryColor = primary;
    page.highlightColor = highlight;
    page.textColor = text;
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

    ImageIds images{};
    images.lamp = addImage(layout, u"Lamp", drawLamp(), 1);
    images.sun = addImage(layout, u"Sun", drawSun(), 2);
    images.night = addImage(layout, u"Night sky", drawNight(), 3);
    images.house = addImage(layout, u"House", drawHouse(), 4);

    // Pages first, so that objects can point at each other's IDs.
    const auto add = [&layout](std::unique_ptr<TListItem> page) {
        return layout.InsertPageAfter(std::move(page), nullptr);
    };
    auto* living = static_cast<TUserPage*>(add(std::make_unique<TUserPage>(&layout, u"Living room \u5BA2\u5385")));
    auto* kitchen = static_cast<TUserPage*>(add(std::make_unique<TUserPage>(&layout, u"Kitchen")));
    auto* lights = static_cast<CBtn8Ctrl*>(add(std::make_unique<CBtn8Ctrl>(&layout, u"Lights")));
    auto* security = static_cast<CBtn8Ctrl*>(add(std::make_unique<CBtn8Ctrl>(&layout, u"Security")));
    auto* oven = static_cast<CNumericCtrl*>(add(std::make_unique<CNumericCtrl>(&layout, u"Oven timer")));
    auto* thermostat = static_cast<CNumericCtrl*>(add(std::make_unique<CNumericCtrl>(&layout, u"Thermostat")));
    const PageIds pages{living->pageId,   kitchen->pageId, lights->pageId,
                        security->pageId, oven->pageId,    thermostat->pageId};

    fillLivingRoom(*living, images, pages);
    fillKitchen(*kitchen, images, pages);
    fillEightButtons(*lights, {{u"Hall", u"LIGHT 3 TOGGLE"},
                               {u"Porch", u"LIGHT 4 TOGGLE"},
                               {u"Stairs", u"LIGHT 5 TOGGLE"},
                               {u"Study", u"LIGHT 6 TOGGLE"},
                               {u"Bath", u"LIGHT 7 TOGGLE"},
                               {u"Garden", u"LIGHT 8 TOGGLE"},
                               {u"Garage", u"LIGHT 9 TOGGLE"},
                               {u"All off", u"ALL OFF"}});
    fillEightButtons(*security, {{u"Arm away", u"ALARM ARM AWAY"},
                                 {u"Arm home", u"ALARM ARM HOME"},
                                 {u"Disarm", u"ALARM DISARM"},
                                 {u"Front door", u"DOOR FRONT UNLOCK"},
                                 {u"Gate", u"GATE TOGGLE"},
                                 {u"Garage", u"GARAGE TOGGLE"},
                                 {u"Cameras", u"CAMERAS ON"},
                                 {u"Siren off", u"SIREN OFF"}});
    colours(*oven, rgb(20, 20, 30), rgb(60, 80, 140), rgb(240, 180, 40), rgb(255, 255, 255));
    oven->textLines = {u"Oven timer", u"in minutes", u"1 to 180", u""};
    colours(*thermostat, rgb(30, 10, 10), rgb(160, 60, 40), rgb(255, 220, 120), rgb(255, 240, 230));
    thermostat->textLines = {u"Temperature", u"in \u00B0C", u"17 to 25", u""};
    layout.defaultPageId = living->pageId;

    // The sleep page takes image objects only, no hot spots; its one picture fills the screen.
    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"Sleep");
    face(layout.sleepPage->face, TUserFace::kImage, images.night, u"Touch to wake");
    layout.sleepPage->face.textColor = rgb(220, 226, 255);
    layout.sleepPage->face.textSize = TUserFace::kLarge;
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
