#include "PanelState.h"
#include "layout/TLayout.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

// A driver may run the clock to its end; a deadline past it never comes.
std::int64_t after(std::int64_t time, std::int64_t milliseconds) {
    return time > kNever - milliseconds ? kNever : time + milliseconds;
}

} // namespace

std::optional<std::int64_t> PanelModel::State::SleepDue() const {
    if (layout.sleepTimeout <= 0 || asleep)
        return std::nullopt;
    return after(lastTouchMs, std::int64_t{layout.sleepTimeout} * kMsPerSecond);
}

std::optional<std::int64_t> PanelModel::State::ReturnDue() const {
    // The timeout PIN keeps the panel locked: returning would get round it.
    const bool locked = overlay == Overlay::PinPad && pinFor == PinFor::Wake;
    if (layout.defaultPageTimeout <= 0 || asleep || locked || layout.FindPage(layout.defaultPageId) == nullptr)
        return std::nullopt;
    if (pageId == layout.defaultPageId && overlay == Overlay::None)
        return std::nullopt;
    return after(lastTouchMs, std::int64_t{layout.defaultPageTimeout} * kMsPerSecond);
}

void PanelModel::State::Advance(std::int64_t milliseconds) {
    if (milliseconds <= 0)
        return;
    const std::int64_t end = after(nowMs, milliseconds);
    // Each timer that fires takes itself out (asleep, or on the default page), so this ends.
    for (;;) {
        const auto sleepDue = SleepDue();
        const auto returnDue = ReturnDue();
        if (returnDue && *returnDue <= end && (!sleepDue || *returnDue <= *sleepDue)) {
            nowMs = std::max(nowMs, *returnDue);
            ReturnToDefault();
        } else if (sleepDue && *sleepDue <= end) {
            nowMs = std::max(nowMs, *sleepDue);
            Sleep();
        } else {
            break;
        }
    }
    nowMs = end;
}

void PanelModel::State::Sleep() {
    asleep = true;
    overlay = Overlay::None;
    typed.clear();
    wrongPin = false;
    pressedKey = -1;
    // A finger still down lets go without doing anything.
    capture = fingerDown ? Capture::Swallowed : Capture::None;
    if (layout.sleepPage)
        EmitPage(*layout.sleepPage);
    else
        outputs.push_back({Output::Kind::Page, nowMs, -1, -1, 0, {}});
}

void PanelModel::State::Wake() {
    asleep = false;
    if (layout.pinOnWakeup != 0) {
        OpenPin(PinFor::Wake, layout.timeoutPin, -1);
        return;
    }
    if (const TListItem* page = Page())
        EmitPage(*page);
}

std::optional<std::int64_t> PanelModel::NextTimeoutMs() const {
    const auto sleepDue = state->SleepDue();
    const auto returnDue = state->ReturnDue();
    if (!sleepDue && !returnDue)
        return std::nullopt;
    const std::int64_t due = std::min(sleepDue.value_or(kNever), returnDue.value_or(kNever));
    return std::max<std::int64_t>(0, due - state->nowMs);
}
