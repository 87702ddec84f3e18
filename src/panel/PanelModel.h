#pragma once

#include "render/Surface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TLayout;
class TListItem;

// What a panel does with a layout, without the panel: which page it shows, how its buttons,
// selectors, hot spots, sliders, eight-button and data-entry pages answer touches, when it sleeps
// and when it returns to its default page. Touches come at page pixels (0..319, 0..239); time
// passes only when the driver says so (Advance), so a test or a window runs it on its own clock.
//
// The model keeps page IDs and object positions, never pointers into the layout, so the layout
// may change under it; LayoutChanged() then checks what it shows against the new layout.
class PanelModel {
public:
    // One thing the panel did, in order, stamped with the model's clock.
    struct Output {
        enum class Kind {
            Page,  // a page is shown: pageId and text (its name, UTF-8)
            Send,  // an event text goes out on the line: text (UTF-8)
            Level, // a slider moved: controlId and level (0..100)
            Note,  // what the panel did not do, and why: text (UTF-8)
        };
        Kind kind;
        std::int64_t timeMs = 0;
        std::int32_t pageId = -1;
        std::int32_t controlId = -1;
        int level = 0;
        std::string text;
        friend bool operator==(const Output&, const Output&) = default;
    };

    // What fills the screen besides a page of the layout.
    enum class Overlay {
        None,        // the current page
        PinPad,      // a PIN is asked (a hot spot's, or the timeout PIN on waking)
        DefaultEntry // the panel's own "Default Data Entry" keypad
    };

    explicit PanelModel(const TLayout& layout);
    ~PanelModel();
    PanelModel(const PanelModel&) = delete;
    PanelModel& operator=(const PanelModel&) = delete;

    // Starts again as the panel does when it powers up: the default page (or the first page when
    // there is none), every button up, every slider at its middle, the clock at 0, no output but
    // the first page.
    void Restart();
    // The layout was edited: keeps the page and states that still exist; restarts when the page
    // shown is gone, keeping the clock and the outputs so far.
    void LayoutChanged();

    // A finger goes down, moves while down, and lifts. A tap is Down then Up at one point.
    void Down(int x, int y);
    void Move(int x, int y);
    void Up();
    void Tap(int x, int y);

    // Lets time pass; timers that run out on the way fire at their own time.
    void Advance(std::int64_t milliseconds);
    [[nodiscard]] std::int64_t NowMs() const;
    // Milliseconds until the next timer fires (sleep or return to the default page), if one runs.
    [[nodiscard]] std::optional<std::int64_t> NextTimeoutMs() const;

    // Everything since the last Restart, in order.
    [[nodiscard]] const std::vector<Output>& Outputs() const;
    // The page of the layout being shown (the sleep page while asleep), null when there is none.
    [[nodiscard]] const TListItem* CurrentPage() const;
    [[nodiscard]] Overlay CurrentOverlay() const;
    [[nodiscard]] bool Asleep() const;

    // The screen as the panel shows it, 320 x 240.
    void Draw(Surface& surface) const;

private:
    struct State;
    const TLayout& layout;
    std::unique_ptr<State> state;
};
