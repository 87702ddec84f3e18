#include "PanelScreens.h"
#include "PanelState.h"
#include "layout/CBtn8Ctrl.h"
#include "layout/TLayout.h"
#include "layout/TUserButton.h"
#include "layout/TUserHotspot.h"
#include "layout/TUserLevel.h"
#include "layout/TUserPage.h"

#include <algorithm>

namespace {

constexpr std::int32_t kReturnToPrevious = 2;
constexpr std::size_t kEntryDigits = 9;
constexpr std::size_t kPinDigits = 32;
constexpr int kSliderEnd = 15;

// The level under the finger: upright sliders 100 at the top of the track and 0 at its bottom,
// lying ones 0 at the left and 100 at the right, the track running from one end piece to the other.
int levelAt(const TUserLevel& slider, int x, int y) {
    const bool upright = slider.width <= slider.height;
    const std::int64_t start = std::int64_t{upright ? slider.top : slider.left} + kSliderEnd;
    const std::int64_t length =
        std::max<std::int64_t>(1, std::int64_t{upright ? slider.height : slider.width} - 2 * kSliderEnd);
    const std::int64_t along = std::clamp<std::int64_t>((upright ? y : x) - start, 0, length);
    const std::int64_t level = (along * 100 + length / 2) / length;
    return static_cast<int>(upright ? 100 - level : level);
}

} // namespace

void PanelModel::State::Down(int x, int y) {
    if (fingerDown)
        Up();
    fingerDown = true;
    fingerX = x;
    fingerY = y;
    lastTouchMs = nowMs;
    capture = Capture::None;
    pressedKey = kNoKey;
    if (asleep) {
        capture = Capture::Swallowed;
        Wake();
        return;
    }
    switch (Showing()) {
    case Screen::PinPad:
    case Screen::DefaultEntry:
    case Screen::EntryPage:
        pressedKey = KeypadKeyAt(x, y);
        break;
    case Screen::EightButtons:
        pressedKey = EightButtonKeyAt(x, y);
        if (pressedKey >= 0 && pressedKey < CBtn8Ctrl::kButtons) {
            const auto& slot = EightButtonPage()->buttonEvents[static_cast<std::size_t>(pressedKey)];
            Send(SlotUtf8(slot.data(), slot.size()));
        }
        break;
    case Screen::UserPage:
        DownOnUserPage(*UserPage(*pageId), x, y);
        return;
    default:
        return;
    }
    if (pressedKey != kNoKey)
        capture = Capture::Key;
}

void PanelModel::State::DownOnUserPage(const TUserPage& page, int x, int y) {
    // The topmost object that answers touches; images and plain objects let them through.
    for (std::size_t i = page.objects.size(); i-- > 0;) {
        const TUserObject& object = *page.objects[i];
        if (!object.Contains(x, y))
            continue;
        const ObjectKey key{*pageId, i};
        if (const TUserButton* button = Button(key)) {
            PressButton(key, *button);
            return;
        }
        if (const TUserLevel* slider = Slider(key)) {
            capture = Capture::Slider;
            captured = key;
            FollowSlider(key, *slider);
            return;
        }
        if (Hotspot(key) != nullptr) {
            capture = Capture::Hotspot;
            captured = key;
            return;
        }
    }
}

void PanelModel::State::PressButton(const ObjectKey& key, const TUserButton& button) {
    const std::string down = SlotUtf8(button.downEvent.data(), button.downEvent.size());
    const std::string up = SlotUtf8(button.upEvent.data(), button.upEvent.size());
    switch (RoleOf(button)) {
    case ButtonRole::Ordinary:
        Send(down);
        [[fallthrough]];
    case ButtonRole::Entry:
        capture = Capture::Button;
        captured = key;
        return;
    case ButtonRole::Toggle:
        if (toggled.erase(key) != 0) {
            Send(up);
        } else {
            toggled.insert(key);
            Send(down);
        }
        return;
    case ButtonRole::Selector: {
        const auto before = selected.find(button.selectorId);
        if (before != selected.end()) {
            if (before->second == key)
                return;
            if (const TUserButton* other = Button(before->second))
                Send(SlotUtf8(other->upEvent.data(), other->upEvent.size()));
        }
        selected[button.selectorId] = key;
        Send(down);
        return;
    }
    }
}

void PanelModel::State::ReleaseButton(const TUserButton& button) {
    if (RoleOf(button) == ButtonRole::Ordinary) {
        Send(SlotUtf8(button.upEvent.data(), button.upEvent.size()));
        return;
    }
    // An entry button opens its data-entry page, or the panel's own keypad for anything else.
    const std::string event = SlotUtf8(button.downEvent.data(), button.downEvent.size());
    if (EntryPage(button.entryPageId) != nullptr) {
        Show(button.entryPageId, true);
    } else {
        overlay = Overlay::DefaultEntry;
        typed.clear();
    }
    entryEvent = event;
}

void PanelModel::State::FollowSlider(const ObjectKey& key, const TUserLevel& slider) {
    const int level = levelAt(slider, fingerX, fingerY);
    if (level == LevelOf(key))
        return;
    levels[key] = level;
    outputs.push_back({Output::Kind::Level, nowMs, key.pageId, slider.controlId, level, {}});
}

void PanelModel::State::ActivateHotspot(const TUserHotspot& hotspot) {
    const std::int32_t target = hotspot.targetPageId;
    if (target != kReturnToPrevious && layout.FindPage(target) == nullptr) {
        Note("Hot spot: no page with ID " + std::to_string(target));
        return;
    }
    if (hotspot.requirePin)
        OpenPin(PinFor::Hotspot, hotspot.pin, target);
    else if (target == kReturnToPrevious)
        GoBack();
    else
        Show(target, true);
}

void PanelModel::State::Move(int x, int y) {
    if (!fingerDown)
        return;
    fingerX = x;
    fingerY = y;
    lastTouchMs = nowMs;
    if (capture == Capture::Slider)
        if (const TUserLevel* slider = Slider(captured))
            FollowSlider(captured, *slider);
}

void PanelModel::State::Up() {
    if (!fingerDown)
        return;
    fingerDown = false;
    lastTouchMs = nowMs;
    const Capture was = std::exchange(capture, Capture::None);
    const int key = std::exchange(pressedKey, kNoKey);
    if (was == Capture::Button) {
        if (const TUserButton* button = Button(captured))
            ReleaseButton(*button);
    } else if (was == Capture::Hotspot) {
        const TUserHotspot* hotspot = Hotspot(captured);
        if (hotspot != nullptr && hotspot->Contains(fingerX, fingerY))
            ActivateHotspot(*hotspot);
    } else if (was == Capture::Key) {
        const Screen screen = Showing();
        const int under =
            screen == Screen::EightButtons ? EightButtonKeyAt(fingerX, fingerY) : KeypadKeyAt(fingerX, fingerY);
        if (under == key)
            PressKey(key);
    }
}

void PanelModel::State::PressKey(int key) {
    const Screen screen = Showing();
    if (screen == Screen::EightButtons) {
        if (key == kBackKey)
            GoBack();
        return;
    }
    if (screen != Screen::PinPad && screen != Screen::DefaultEntry && screen != Screen::EntryPage)
        return;
    if (key >= 0 && key <= 9) {
        if (typed.size() < (screen == Screen::PinPad ? kPinDigits : kEntryDigits))
            typed += static_cast<char>('0' + key);
        wrongPin = false;
    } else if (key == kClearKey) {
        typed.clear();
        wrongPin = false;
    } else if (key == kOkKey) {
        if (screen == Screen::PinPad)
            PinEntered();
        else
            EntryEntered();
    } else if (key == kCancelKey) {
        if (screen == Screen::PinPad && pinFor == PinFor::Wake)
            Sleep();
        else if (screen == Screen::EntryPage) {
            typed.clear();
            GoBack();
        } else
            CloseOverlay();
    }
}

void PanelModel::State::PinEntered() {
    if (std::u16string(typed.begin(), typed.end()) != expectedPin) {
        typed.clear();
        wrongPin = true;
        Note("Wrong PIN");
        return;
    }
    CloseOverlay();
    if (pinFor == PinFor::Wake) {
        if (const TListItem* page = Page())
            EmitPage(*page);
    } else if (pinTarget == kReturnToPrevious) {
        GoBack();
    } else if (layout.FindPage(pinTarget) != nullptr) {
        Show(pinTarget, true);
    } else {
        Note("Hot spot: no page with ID " + std::to_string(pinTarget));
    }
}

void PanelModel::State::EntryEntered() {
    // The number without leading zeros; nothing typed is 0.
    const std::size_t first = std::min(typed.find_first_not_of('0'), typed.size());
    const std::string number = first == typed.size() ? "0" : typed.substr(first);
    Send(entryEvent.empty() ? number : entryEvent + " " + number);
    typed.clear();
    if (Showing() == Screen::EntryPage)
        GoBack();
    else
        CloseOverlay();
}
