#pragma once

#include "PanelModel.h"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CBtn8Ctrl;
class CNumericCtrl;
class TLayout;
class TUserButton;
class TUserHotspot;
class TUserLevel;
class TUserObject;
class TUserPage;

// An object by its page's ID and its place in the page's list: the layout may change under the
// model, so it never keeps pointers into it.
struct ObjectKey {
    std::int32_t pageId = -1;
    std::size_t index = 0;
    friend auto operator<=>(const ObjectKey&, const ObjectKey&) = default;
};

// What a user-page button does when touched.
enum class ButtonRole { Ordinary, Toggle, Selector, Entry };
ButtonRole RoleOf(const TUserButton& button);

// What fills the screen.
enum class Screen { Nothing, Sleep, PinPad, DefaultEntry, EntryPage, EightButtons, UserPage };

struct PanelModel::State {
    // What the finger holds between Down and Up.
    enum class Capture { None, Swallowed, Button, Slider, Hotspot, Key };
    enum class PinFor { Hotspot, Wake };

    explicit State(const TLayout& layout) : layout(layout) {}

    const TLayout& layout;
    std::int64_t nowMs = 0;
    std::int64_t lastTouchMs = 0;
    std::vector<Output> outputs;

    std::optional<std::int32_t> pageId; // none: the layout has no pages
    std::vector<std::int32_t> history;  // pages shown before, the latest last
    Overlay overlay = Overlay::None;
    bool asleep = false;

    bool fingerDown = false;
    int fingerX = 0;
    int fingerY = 0;
    Capture capture = Capture::None;
    ObjectKey captured;
    int pressedKey = -1;

    std::set<ObjectKey> toggled;
    std::map<std::int32_t, ObjectKey> selected; // selector group -> the button down in it
    std::map<ObjectKey, int> levels;

    std::string typed; // digits on a keypad or the PIN pad
    bool wrongPin = false;
    PinFor pinFor = PinFor::Hotspot;
    std::u16string expectedPin;
    std::int32_t pinTarget = -1;
    std::string entryEvent; // what the entry sends in front of the number (UTF-8)

    // Pages and objects, looked up afresh each time.
    const TListItem* Page() const;
    const TUserPage* UserPage(std::int32_t id) const;
    const CNumericCtrl* EntryPage(std::int32_t id) const;
    // The eight-button page shown, or null.
    const CBtn8Ctrl* EightButtonPage() const;
    const TUserObject* Object(const ObjectKey& key) const;
    const TUserButton* Button(const ObjectKey& key) const;
    const TUserLevel* Slider(const ObjectKey& key) const;
    const TUserHotspot* Hotspot(const ObjectKey& key) const;
    Screen Showing() const;
    int LevelOf(const ObjectKey& key) const;

    // Outputs.
    void EmitPage(const TListItem& page);
    void Send(const std::string& text);
    void Note(const std::string& text);

    // Pages.
    // The start on a fresh state: the default page, or the first.
    void Start();
    // Keeps what still exists; true when the page shown is gone and the panel must start again.
    bool LayoutChanged();
    void Show(std::int32_t id, bool remember);
    void GoBack();
    void ReturnToDefault();
    void OpenPin(PinFor purpose, std::u16string pin, std::int32_t target);
    void CloseOverlay();

    // Touches.
    void Down(int x, int y);
    void Move(int x, int y);
    void Up();
    void DownOnUserPage(const TUserPage& page, int x, int y);
    void PressButton(const ObjectKey& key, const TUserButton& button);
    void ReleaseButton(const TUserButton& button);
    void FollowSlider(const ObjectKey& key, const TUserLevel& slider);
    void ActivateHotspot(const TUserHotspot& hotspot);
    void PressKey(int key);
    void PinEntered();
    void EntryEntered();

    // Timers.
    std::optional<std::int64_t> SleepDue() const;
    std::optional<std::int64_t> ReturnDue() const;
    void Advance(std::int64_t milliseconds);
    void Sleep();
    void Wake();
};

// UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8(std::u16string_view text);
// A fixed ANSI text slot up to its NUL, as UTF-8.
std::string SlotUtf8(const std::uint8_t* slot, std::size_t size);
