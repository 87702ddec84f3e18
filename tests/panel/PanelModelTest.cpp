#include "ObjectGeometry.h"

#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"
#include "panel/OutputLine.h"
#include "panel/PanelModel.h"
#include "panel/PanelScreens.h"
#include "render/PageDrawing.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

namespace {

using Overlay = PanelModel::Overlay;

constexpr Argb kRed = MakeArgb(255, 0, 0);
constexpr Argb kGreen = MakeArgb(0, 255, 0);
constexpr std::int32_t kHome = 10000, kSecond = 10001, kThird = 10002, kEight = 10003, kEntry = 10004;

void fill(TUserFace& face, std::int32_t colorref) {
    face.kind = TUserFace::kColor;
    face.value = TUserFace::kSingleColor;
    face.color1 = colorref;
}

template <typename T> T& add(TUserPage& page, Geometry geometry) {
    auto& object = static_cast<T&>(*page.AddObject(std::make_unique<T>()));
    setGeometry(object, geometry);
    return object;
}

// Red when up, green when down.
TUserButton& button(TUserPage& page, Geometry geometry, const char* down, const char* up) {
    auto& b = add<TUserButton>(page, geometry);
    fill(b.upFace, 0x0000FF);
    fill(b.downFace, 0x00FF00);
    StoreAnsiSlot(AnsiToUnicode(down), b.downEvent);
    StoreAnsiSlot(AnsiToUnicode(up), b.upEvent);
    return b;
}

TUserHotspot& hotspot(TUserPage& page, Geometry geometry, std::int32_t target) {
    auto& h = add<TUserHotspot>(page, geometry);
    h.targetPageId = target;
    return h;
}

template <typename T> T& addPage(TLayout& layout, std::int32_t id, const char16_t* name) {
    auto& page = static_cast<T&>(*layout.InsertPageAfter(std::make_unique<T>(&layout, name), nullptr));
    page.pageId = id;
    return page;
}

// Home: buttons in a 70-pixel grid (row 1 ordinary, toggle, two entry buttons; row 2 a selector
// group of three), hot spots in row 3. Second: sliders and hot spots to Third and back. Third:
// one Return to Previous over the screen.
void buildLayout(TLayout& layout) {
    auto& home = addPage<TUserPage>(layout, kHome, u"Home");
    fill(home.face, 0x202020);
    button(home, {10, 10, 60, 40}, "press", "release");
    button(home, {80, 10, 60, 40}, "on", "off").toggle = true;
    button(home, {150, 10, 60, 40}, "vol", "").entryPageId = kEntry;
    button(home, {220, 10, 60, 40}, "", "").entryPageId = 4242;
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i + 1);
        auto& s = button(home, {10 + 70 * i, 60, 60, 40}, ("s" + n).c_str(), ("u" + n).c_str());
        s.selectorId = 3;
        s.toggle = true;
    }
    hotspot(home, {10, 110, 60, 40}, kSecond);
    hotspot(home, {80, 110, 60, 40}, 4242);
    auto& locked = hotspot(home, {150, 110, 60, 40}, kThird);
    locked.requirePin = true;
    locked.pin = u"1234";
    hotspot(home, {220, 110, 60, 40}, kEight);
    hotspot(home, {280, 200, 40, 40}, 2);
    layout.defaultPageId = kHome;

    auto& second = addPage<TUserPage>(layout, kSecond, u"Second");
    hotspot(second, {0, 0, 100, 100}, kThird);
    hotspot(second, {200, 0, 100, 100}, 2);
    add<TUserLevel>(second, {100, 100, 45, 130}).controlId = 7;
    add<TUserLevel>(second, {160, 180, 130, 45}).controlId = 8;

    hotspot(addPage<TUserPage>(layout, kThird, u"Third"), {0, 0, 320, 240}, 2);

    auto& eight = addPage<CBtn8Ctrl>(layout, kEight, u"Eight");
    for (std::size_t i = 0; i < 8; ++i) {
        StoreAnsiSlot(AnsiToUnicode("e" + std::to_string(i + 1)), eight.buttonEvents[i]);
        StoreAnsiSlot(AnsiToUnicode("Key " + std::to_string(i + 1)), eight.buttonLabels[i]);
    }
    auto& entry = addPage<CNumericCtrl>(layout, kEntry, u"Entry");
    entry.primaryColor = 0x804020;
    entry.highlightColor = 0x00C0FF;
    entry.textColor = 0xFFFFFF;
    entry.textLines[0] = u"Volume";

    layout.sleepPage = std::make_unique<TUserPage>(&layout, u"Sleep");
    layout.sleepPage->pageId = 9;
}

int centerX(const Rect& r) {
    return r.left + (r.right - r.left) / 2;
}
int centerY(const Rect& r) {
    return r.top + (r.bottom - r.top) / 2;
}

// Runs a script: "tap X,Y", "down X,Y", "move X,Y", "up", "wait MS", "next" (to the next timeout),
// "key K" (a keypad key: 0-9, C, OK, Cancel), "eight K" (an eight-button key: 1-8, Back), "edit"
// (the row's layout change).
void run(PanelModel& model, const std::string& script, const std::function<void()>& edit) {
    std::istringstream steps(script);
    std::string step;
    while (std::getline(steps, step, ';')) {
        std::istringstream words(step);
        std::string verb, arg;
        words >> verb >> arg;
        int x = 0, y = 0;
        std::sscanf(arg.c_str(), "%d,%d", &x, &y);
        if (verb == "tap")
            model.Tap(x, y);
        else if (verb == "down")
            model.Down(x, y);
        else if (verb == "move")
            model.Move(x, y);
        else if (verb == "up")
            model.Up();
        else if (verb == "wait")
            model.Advance(std::stoll(arg));
        else if (verb == "next")
            model.Advance(model.NextTimeoutMs().value_or(0));
        else if (verb == "edit") {
            edit();
            model.LayoutChanged();
        } else if (verb == "key" || verb == "eight") {
            const bool pad = verb == "key";
            const int key = arg == "C"        ? kClearKey
                            : arg == "OK"     ? kOkKey
                            : arg == "Cancel" ? kCancelKey
                            : arg == "Back"   ? kBackKey
                                              : std::stoi(arg) - (pad ? 0 : 1);
            const Rect r = pad ? KeypadKeyRect(key) : EightButtonKeyRect(key);
            model.Tap(centerX(r), centerY(r));
        } else if (!verb.empty())
            ADD_FAILURE() << "unknown step " << step;
    }
}

// An output as "page Home", "send press", "level 7 50", "note ...", after its time when not 0.
std::string describe(const PanelModel::Output& o) {
    using Kind = PanelModel::Output::Kind;
    const std::string time = o.timeMs == 0 ? "" : std::to_string(o.timeMs) + " ";
    switch (o.kind) {
    case Kind::Page:
        return time + "page " + o.text;
    case Kind::Send:
        return time + "send " + o.text;
    case Kind::Level:
        return time + "level " + std::to_string(o.controlId) + " " + std::to_string(o.level);
    case Kind::Note:
        return time + "note " + o.text;
    }
    return {};
}

// The test layout, changed by `tweak`, with a model that has run the script.
struct Tried {
    TLayout layout;
    std::unique_ptr<PanelModel> model;
};
std::unique_ptr<Tried> tryScript(const std::string& script, const std::function<void(TLayout&)>& tweak,
                                 const std::function<void(TLayout&)>& edit = nullptr) {
    auto tried = std::make_unique<Tried>();
    buildLayout(tried->layout);
    if (tweak)
        tweak(tried->layout);
    tried->model = std::make_unique<PanelModel>(tried->layout);
    run(*tried->model, script, [&] { edit(tried->layout); });
    return tried;
}

struct Pixel {
    int x = -1, y = -1;
    Argb color = 0;
};

struct Case {
    const char* what;
    const char* script;
    std::vector<std::string> outputs;
    const char16_t* endPage; // null: none
    Overlay endOverlay = Overlay::None;
    std::vector<Pixel> pixels = {};
    std::function<void(TLayout&)> tweak = nullptr; // before the start
    std::function<void(TLayout&)> edit = nullptr;  // at "edit"
};

void sleepAfterMinute(TLayout& layout) {
    layout.sleepTimeout = 60;
}
void lockedSleep(TLayout& layout) {
    layout.sleepTimeout = 60;
    layout.pinOnWakeup = 1;
    layout.timeoutPin = u"55";
}

TEST(PanelModelTest, TouchSequencesGiveTheirPagesEventsAndFaces) {
    const std::string note = "note There is no previous page to return to";
    const Case cases[] = {
        {"starts on the default page", "", {"page Home"}, u"Home"},
        {"a button shows its down face while pressed",
         "down 20,20",
         {"page Home", "send press"},
         u"Home",
         {},
         {{20, 20, kGreen}}},
        {"and its up face after",
         "tap 20,20",
         {"page Home", "send press", "send release"},
         u"Home",
         {},
         {{20, 20, kRed}}},
        {"a toggle stays down", "tap 90,20", {"page Home", "send on"}, u"Home", {}, {{90, 20, kGreen}}},
        {"a toggle comes up on the next touch",
         "tap 90,20; tap 90,20",
         {"page Home", "send on", "send off"},
         u"Home",
         {},
         {{90, 20, kRed}}},
        {"a selector group of three is one choice",
         "tap 20,70; tap 90,70; tap 90,70; tap 160,70",
         {"page Home", "send s1", "send u1", "send s2", "send u2", "send s3"},
         u"Home",
         {},
         {{20, 70, kRed}, {90, 70, kRed}, {160, 70, kGreen}}},
        {"hot spots and Return to Previous through three pages",
         "tap 20,120; tap 20,20; tap 100,100; tap 250,20",
         {"page Home", "page Second", "page Third", "page Second", "page Home"},
         u"Home"},
        {"Return to Previous without history", "tap 300,220", {"page Home", note}, u"Home"},
        {"a hot spot to a missing page does nothing",
         "tap 90,120",
         {"page Home", "note Hot spot: no page with ID 4242"},
         u"Home"},
        {"the right PIN goes on",
         "tap 160,120; key 1; key 2; key 3; key 4; key OK",
         {"page Home", "page Third"},
         u"Third"},
        {"a hot spot asks its PIN and refuses a wrong one",
         "tap 160,120; key 1; key 2; key OK; key C",
         {"page Home", "note Wrong PIN"},
         u"Home",
         Overlay::PinPad},
        {"Cancel leaves the PIN pad", "tap 160,120; key 1; key Cancel", {"page Home"}, u"Home"},
        {"an entry page sends its button's event with the number",
         "tap 160,20; key 0; key 4; key 2; key OK",
         {"page Home", "page Entry", "send vol 42", "page Home"},
         u"Home"},
        {"the entry page keeps at most nine digits",
         "tap 160,20; key 1; key 2; key 3; key 4; key 5; key 6; "
         "key 7; key 8; key 9; key 9; key OK",
         {"page Home", "page Entry", "send vol 123456789", "page Home"},
         u"Home"},
        {"the default keypad for an entry page that is missing",
         "tap 230,20; key 7; key OK",
         {"page Home", "send 7"},
         u"Home"},
        {"the default keypad is shown", "tap 230,20; key 7", {"page Home"}, u"Home", Overlay::DefaultEntry},
        {"Cancel sends nothing", "tap 230,20; key 7; key Cancel", {"page Home"}, u"Home"},
        {"an eight-button page sends its keys' events",
         "tap 230,120; eight 1; eight 8; eight Back",
         {"page Home", "page Eight", "send e1", "send e8", "page Home"},
         u"Home"},
        {"an upright slider at its top, middle and bottom",
         "tap 20,120; down 120,115; move 120,165; move 120,400; up",
         {"page Home", "page Second", "level 7 100", "level 7 50", "level 7 0"},
         u"Second"},
        {"a lying slider at its left, middle and right",
         "tap 20,120; down 175,200; move 225,200; move 9999,200; up",
         {"page Home", "page Second", "level 8 0", "level 8 50", "level 8 100"},
         u"Second"},
        {"sleeps after the timeout",
         "wait 59999; wait 1",
         {"page Home", "60000 page Sleep"},
         u"Sleep",
         {},
         {},
         sleepAfterMinute},
        {"the clock runs to its end",
         "wait 9223372036854775807; tap 20,20; wait 9223372036854775807",
         {"page Home", "60000 page Sleep", "9223372036854775807 page Home", "9223372036854775807 page Sleep"},
         u"Sleep",
         {},
         {},
         sleepAfterMinute},
        {"a touch only wakes it",
         "wait 60000; tap 20,20",
         {"page Home", "60000 page Sleep", "60000 page Home"},
         u"Home",
         {},
         {{20, 20, kRed}},
         sleepAfterMinute},
        {"the timeout PIN wakes it",
         "wait 60000; tap 20,20; key 5; key 5; key OK",
         {"page Home", "60000 page Sleep", "60000 page Home"},
         u"Home",
         {},
         {},
         lockedSleep},
        {"a wrong timeout PIN, then Cancel, sleeps again",
         "wait 60000; tap 20,20; key 1; key OK; key Cancel",
         {"page Home", "60000 page Sleep", "60000 note Wrong PIN", "60000 page Sleep"},
         u"Sleep",
         {},
         {},
         lockedSleep},
        {"returns to the default page, then sleeps",
         "tap 20,120; next; next",
         {"page Home", "page Second", "30000 page Home", "60000 page Sleep"},
         u"Sleep",
         {},
         {},
         [](TLayout& l) {
             l.defaultPageTimeout = 30;
             l.sleepTimeout = 60;
         }},
        {"a key held while the timer returns does nothing",
         "tap 230,20; down 290,165; wait 30000; up",
         {"page Home", "30000 page Home"},
         u"Home",
         {},
         {},
         [](TLayout& l) { l.defaultPageTimeout = 30; }},
        {"no default page: the first page",
         "",
         {"note The layout has no default page; the panel starts on the "
          "first page",
          "page Home"},
         u"Home",
         {},
         {},
         [](TLayout& l) { l.defaultPageId = 4242; }},
        {"no pages: nothing to touch",
         "tap 20,20; wait 99999",
         {"note The layout has no pages"},
         nullptr,
         {},
         {},
         [](TLayout& l) {
             l.pages.clear();
             l.sleepPage.reset();
         }},
        {"an edit keeps the toggled button",
         "tap 90,20; edit",
         {"page Home", "send on"},
         u"Home",
         {},
         {{90, 20, kGreen}},
         nullptr,
         [](TLayout& l) { l.FindPage(kSecond)->name = u"Renamed"; }},
        {"button states last across pages",
         "tap 90,20; tap 20,120; tap 250,20",
         {"page Home", "send on", "page Second", "page Home"},
         u"Home",
         {},
         {{90, 20, kGreen}}},
        {"an edit that removes the page shown starts again",
         "tap 90,20; tap 20,120; edit",
         {"page Home", "send on", "page Second", "page Home"},
         u"Home",
         {},
         {{90, 20, kRed}},
         nullptr,
         [](TLayout& l) { l.RemovePage(l.FindPage(kSecond)); }},
        {"damaged objects answer without harm",
         "tap 20,20; tap 0,0; tap 319,239",
         {"page Home", "send press", "send release", "note Hot spot: no page with ID -2147483648"},
         u"Home",
         {},
         {},
         [](TLayout& l) {
             auto& home = static_cast<TUserPage&>(*l.FindPage(kHome));
             add<TUserLevel>(home, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
             add<TUserLevel>(home, {INT_MAX, 0, INT_MAX, 0});
             add<TUserButton>(home, {0, 0, 0, 0});
             hotspot(home, {300, 220, INT_MAX, INT_MAX}, INT_MIN).requirePin = true;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto tried = tryScript(c.script, c.tweak, c.edit);
        const PanelModel& model = *tried->model;
        std::vector<std::string> outputs;
        for (const auto& o : model.Outputs())
            outputs.push_back(describe(o));
        EXPECT_EQ(outputs, c.outputs);
        const TListItem* page = model.CurrentPage();
        EXPECT_EQ(page ? page->name : u"-", c.endPage ? c.endPage : u"-");
        EXPECT_EQ(model.CurrentOverlay(), c.endOverlay);
        Surface screen(kScreenWidth, kScreenHeight);
        model.Draw(screen);
        for (const Pixel& p : c.pixels)
            EXPECT_EQ(screen.Pixel(p.x, p.y), p.color) << p.x << "," << p.y;
    }
}

// Every screen stays on the panel's 320 x 240, and a finger on a key or button shows.
TEST(PanelModelTest, EveryScreenDrawsInsideTheScreenAndShowsAPress) {
    const struct {
        const char* what;
        const char* script; // to the screen
        int x, y;           // a key or button there; -1 for none
        void (*tweak)(TLayout&);
    } cases[] = {
        {"user page", "", 20, 20, nullptr},
        {"eight-button page", "tap 230,120", 80, 60, nullptr},
        {"data-entry page", "tap 160,20", 190, 30, nullptr},
        {"default keypad", "tap 230,20", 190, 30, nullptr},
        {"PIN pad", "tap 160,120", 190, 30, nullptr},
        {"sleep page", "wait 60000", -1, -1, sleepAfterMinute},
        {"no pages", "", -1, -1, [](TLayout& l) { l.pages.clear(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto tried = tryScript(c.script, c.tweak);
        PanelModel& model = *tried->model;
        constexpr Argb kOutside = MakeArgb(1, 2, 3);
        Surface before(400, 300, kOutside);
        model.Draw(before);
        int outside = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                outside += before.Pixel(x, y) == kOutside ? 1 : 0;
        EXPECT_EQ(outside, 400 * 300 - kScreenWidth * kScreenHeight);
        if (c.x < 0)
            continue;
        model.Down(c.x, c.y);
        Surface pressed(400, 300, kOutside);
        model.Draw(pressed);
        EXPECT_NE(pressed, before);
    }
}

// Each output is one line that reads back unambiguously, whatever its text holds.
TEST(PanelModelTest, OutputLinesQuoteAndEscapeTheirText) {
    using Kind = PanelModel::Output::Kind;
    const struct {
        PanelModel::Output output;
        std::string line;
    } cases[] = {
        {{Kind::Page, 0, 10001, -1, 0, "Living \"room\""}, "page 10001 \"Living \\\"room\\\"\""},
        {{Kind::Send, 0, -1, -1, 0, "a\\b\n\x1B[2J caf\xC3\xA9"}, "send \"a\\\\b\\x0A\\x1B[2J caf\xC3\xA9\""},
        {{Kind::Level, 0, -1, 7, 42, ""}, "level 7 42"},
        {{Kind::Note, 0, -1, -1, 0, "Wrong PIN"}, "note \"Wrong PIN\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutputLine(c.output), c.line);
}

} // namespace
