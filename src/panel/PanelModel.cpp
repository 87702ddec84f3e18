#include "PanelModel.h"

#include "PanelState.h"
#include "layout/AnsiCodePage.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/CNumericCtrl.h"
#include "layout/TConstListItemVisitor.h"
#include "layout/TConstUserObjectVisitor.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"

#include <cstring>

namespace {

// A panel-side history deeper than this only keeps its latest pages.
constexpr std::size_t kHistoryDepth = 64;

struct PageKind : TConstListItemVisitor {
    const TUserPage* user = nullptr;
    const CBtn8Ctrl* eight = nullptr;
    const CNumericCtrl* entry = nullptr;
    void Visit(const TUserPage& page) override { user = &page; }
    void Visit(const CBtn8Ctrl& page) override { eight = &page; }
    void Visit(const CNumericCtrl& page) override { entry = &page; }
};

PageKind kindOf(const TListItem* page) {
    PageKind kind;
    if (page != nullptr)
        page->Accept(kind);
    return kind;
}

struct ObjectKind : TConstUserObjectVisitor {
    const TUserButton* button = nullptr;
    const TUserLevel* level = nullptr;
    const TUserHotspot* hotspot = nullptr;
    void Visit(const TUserObject&) override {}
    void Visit(const TUserButton& object) override { button = &object; }
    void Visit(const TUserLevel& object) override { level = &object; }
    void Visit(const TUserImage&) override {}
    void Visit(const TUserHotspot& object) override { hotspot = &object; }
};

ObjectKind kindOf(const TUserObject* object) {
    ObjectKind kind;
    if (object != nullptr)
        object->Accept(kind);
    return kind;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            appendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, c >= 0xD800 && c < 0xE000 ? 0xFFFD : c);
        }
    }
    return out;
}

std::string SlotUtf8(const std::uint8_t* slot, std::size_t size) {
    return Utf8(LoadAnsiSlot({slot, size}));
}

ButtonRole RoleOf(const TUserButton& button) {
    if (button.entryPageId != -1)
        return ButtonRole::Entry;
    if (button.selectorId >= 1 && button.selectorId <= 20)
        return ButtonRole::Selector;
    return button.toggle ? ButtonRole::Toggle : ButtonRole::Ordinary;
}

const TListItem* PanelModel::State::Page() const {
    return pageId ? layout.FindPage(*pageId) : nullptr;
}

const TUserPage* PanelModel::State::UserPage(std::int32_t id) const {
    return kindOf(layout.FindPage(id)).user;
}

const CNumericCtrl* PanelModel::State::EntryPage(std::int32_t id) const {
    return kindOf(layout.FindPage(id)).entry;
}

const CBtn8Ctrl* PanelModel::State::EightButtonPage() const {
    return kindOf(Page()).eight;
}

const TUserObject* PanelModel::State::Object(const ObjectKey& key) const {
    const TUserPage* page = UserPage(key.pageId);
    return page != nullptr && key.index < page->objects.size() ? page->objects[key.index].get() : nullptr;
}

const TUserButton* PanelModel::State::Button(const ObjectKey& key) const {
    return kindOf(Object(key)).button;
}

const TUserLevel* PanelModel::State::Slider(const ObjectKey& key) const {
    return kindOf(Object(key)).level;
}

const TUserHotspot* PanelModel::State::Hotspot(const ObjectKey& key) const {
    return kindOf(Object(key)).hotspot;
}

Screen PanelModel::State::Showing() const {
    if (asleep)
        return Screen::Sleep;
    if (overlay == Overlay::PinPad)
        return Screen::PinPad;
    if (overlay == Overlay::DefaultEntry)
        return Screen::DefaultEntry;
    const PageKind kind = kindOf(Page());
    if (kind.user != nullptr)
        return Screen::UserPage;
    if (kind.eight != nullptr)
        return Screen::EightButtons;
    return kind.entry != nullptr ? Screen::EntryPage : Screen::Nothing;
}

int PanelModel::State::LevelOf(const ObjectKey& key) const {
    const auto found = levels.find(key);
    return found == levels.end() ? 50 : found->second;
}

void PanelModel::State::EmitPage(const TListItem& page) {
    outputs.push_back({Output::Kind::Page, nowMs, page.pageId, -1, 0, Utf8(page.name)});
}

void PanelModel::State::Send(const std::string& text) {
    if (!text.empty())
        outputs.push_back({Output::Kind::Send, nowMs, -1, -1, 0, text});
}

void PanelModel::State::Note(const std::string& text) {
    outputs.push_back({Output::Kind::Note, nowMs, -1, -1, 0, text});
}

void PanelModel::State::Start() {
    if (layout.pages.empty()) {
        Note("The layout has no pages");
        return;
    }
    if (layout.FindPage(layout.defaultPageId) != nullptr) {
        Show(layout.defaultPageId, false);
        return;
    }
    Note("The layout has no default page; the panel starts on the first page");
    Show(layout.pages.front()->pageId, false);
}

bool PanelModel::State::LayoutChanged() {
    if (Page() == nullptr)
        return pageId || !layout.pages.empty();
    // A finger on a changed page lets go without doing anything.
    capture = fingerDown ? Capture::Swallowed : Capture::None;
    pressedKey = -1;
    if (!(overlay == Overlay::PinPad && pinFor == PinFor::Wake))
        CloseOverlay();
    std::erase_if(toggled, [&](const ObjectKey& key) {
        const TUserButton* button = Button(key);
        return button == nullptr || RoleOf(*button) != ButtonRole::Toggle;
    });
    std::erase_if(selected, [&](const auto& entry) {
        const TUserButton* button = Button(entry.second);
        return button == nullptr || RoleOf(*button) != ButtonRole::Selector || button->selectorId != entry.first;
    });
    std::erase_if(levels, [&](const auto& entry) { return Slider(entry.first) == nullptr; });
    return false;
}

void PanelModel::State::Show(std::int32_t id, bool remember) {
    const TListItem* page = layout.FindPage(id);
    if (page == nullptr)
        return;
    if (remember && pageId && *pageId != id) {
        history.push_back(*pageId);
        if (history.size() > kHistoryDepth)
            history.erase(history.begin());
    }
    pageId = id;
    overlay = Overlay::None;
    // A finger still down (a timer switched pages under it) lets go without doing anything.
    capture = fingerDown ? Capture::Swallowed : Capture::None;
    pressedKey = -1;
    typed.clear();
    entryEvent.clear();
    EmitPage(*page);
}

void PanelModel::State::GoBack() {
    while (!history.empty() && layout.FindPage(history.back()) == nullptr)
        history.pop_back();
    if (history.empty()) {
        Note("There is no previous page to return to");
        return;
    }
    const std::int32_t back = history.back();
    history.pop_back();
    Show(back, false);
}

void PanelModel::State::ReturnToDefault() {
    history.clear();
    Show(layout.defaultPageId, false);
}

void PanelModel::State::OpenPin(PinFor purpose, std::u16string pin, std::int32_t target) {
    overlay = Overlay::PinPad;
    pinFor = purpose;
    expectedPin = std::move(pin);
    pinTarget = target;
    typed.clear();
    wrongPin = false;
}

void PanelModel::State::CloseOverlay() {
    if (overlay == Overlay::None)
        return;
    overlay = Overlay::None;
    typed.clear();
    wrongPin = false;
    entryEvent.clear();
}

PanelModel::PanelModel(const TLayout& layout) : layout(layout) {
    Restart();
}

PanelModel::~PanelModel() = default;

void PanelModel::Restart() {
    state = std::make_unique<State>(layout);
    state->Start();
}

void PanelModel::LayoutChanged() {
    if (!state->LayoutChanged())
        return;
    // Starts again on the same clock, after what it has done so far.
    auto fresh = std::make_unique<State>(layout);
    fresh->nowMs = fresh->lastTouchMs = state->nowMs;
    fresh->outputs = std::move(state->outputs);
    state = std::move(fresh);
    state->Start();
}

void PanelModel::Down(int x, int y) {
    state->Down(x, y);
}

void PanelModel::Move(int x, int y) {
    state->Move(x, y);
}

void PanelModel::Up() {
    state->Up();
}

void PanelModel::Tap(int x, int y) {
    state->Down(x, y);
    state->Up();
}

void PanelModel::Advance(std::int64_t milliseconds) {
    state->Advance(milliseconds);
}

std::int64_t PanelModel::NowMs() const {
    return state->nowMs;
}

const std::vector<PanelModel::Output>& PanelModel::Outputs() const {
    return state->outputs;
}

const TListItem* PanelModel::CurrentPage() const {
    return state->asleep ? layout.sleepPage.get() : state->Page();
}

PanelModel::Overlay PanelModel::CurrentOverlay() const {
    return state->overlay;
}

bool PanelModel::Asleep() const {
    return state->asleep;
}
