#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

// How long a transfer still needs, from the progress it reports and when. The rate is taken over
// the last ten seconds from the first step above 0 on, so the speed-switch pauses before the
// first block do not count and a transfer that slows down (an upload that falls back to the full
// reply windows) is soon estimated at its new pace. Nothing is said until 2 % and a second have
// been measured.
class TimeLeftEstimate {
public:
    static constexpr std::uint32_t kWindowMs = 10000;
    static constexpr int kLeastPermille = 20;
    static constexpr std::uint32_t kLeastMs = 1000;

    // The share done (thousandths) at the given tick. A share lower than the last one starts a
    // new transfer.
    void Update(int permille, std::uint32_t nowMs);
    // Whole seconds left as shown; none until enough is measured.
    [[nodiscard]] std::optional<std::uint32_t> SecondsLeft() const { return shownSeconds; }
    // "About 25 seconds left", "About 2 minutes left", ...; empty until enough is measured.
    [[nodiscard]] std::string Text() const;

private:
    struct Step {
        int permille;
        std::uint32_t atMs;
    };

    std::deque<Step> steps;
    Step first{};
    int last = 0;
    std::optional<std::uint32_t> shownSeconds;
};
