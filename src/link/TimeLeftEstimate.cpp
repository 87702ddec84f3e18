#include "link/TimeLeftEstimate.h"

#include <algorithm>
#include <limits>

void TimeLeftEstimate::Update(int permille, std::uint32_t nowMs) {
    permille = std::clamp(permille, 0, 1000);
    if (permille < last) {
        steps.clear();
        shownSeconds.reset();
    }
    last = permille;
    if (permille == 0 || (!steps.empty() && permille == steps.back().permille))
        return;
    if (steps.empty())
        first = {permille, nowMs};
    steps.push_back({permille, nowMs});
    // The base is the newest step at least a window old; ticks are compared as unsigned differences.
    while (steps.size() > 2 && nowMs - steps[1].atMs >= kWindowMs)
        steps.pop_front();
    if (permille - first.permille < kLeastPermille || nowMs - first.atMs < kLeastMs)
        return;

    const Step& base = steps.front();
    const std::uint64_t leftMs = static_cast<std::uint64_t>(1000 - permille) * (nowMs - base.atMs) /
                                 static_cast<std::uint64_t>(permille - base.permille);
    const auto seconds = static_cast<std::uint32_t>(
        std::min<std::uint64_t>((leftMs + 500) / 1000, std::numeric_limits<std::uint32_t>::max()));
    // Down at once, as time passes; up only by a clear margin, so the text does not flicker between
    // two neighbouring values.
    if (!shownSeconds || seconds < *shownSeconds ||
        seconds - *shownSeconds >= std::max<std::uint32_t>(5, *shownSeconds / 10))
        shownSeconds = seconds;
}

std::string TimeLeftEstimate::Text() const {
    if (!shownSeconds)
        return {};
    const std::uint32_t seconds = *shownSeconds;
    if (seconds <= 5)
        return "A few seconds left";
    if (const std::uint32_t fives = (seconds + 2) / 5 * 5; fives < 60)
        return "About " + std::to_string(fives) + " seconds left";
    if (seconds < 90)
        return "About a minute left";
    if (seconds < 3600)
        return "About " + std::to_string((seconds + 30) / 60) + " minutes left";
    return "More than an hour left";
}
