#include "link/TimeLeftEstimate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Step {
    int permille;
    std::uint32_t atMs;
};

TEST(TimeLeftEstimate, TextAfterEachSequence) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        const char* expected;
    } cases[] = {
        {"nothing before 2 % are measured", {{0, 0}, {10, 800}, {25, 1900}}, ""},
        {"nothing before a second is measured", {{0, 0}, {10, 800}, {40, 1700}}, ""},
        // 20 thousandths a second from the first step: 48.5 s; from the start it would be 58 s.
        {"the pauses before the first step do not count",
         {{0, 0}, {0, 790}, {10, 800}, {30, 1800}},
         "About 50 seconds left"},
        {"under 90 seconds", {{100, 0}, {200, 8000}}, "About a minute left"},
        {"minutes", {{10, 1000}, {30, 5000}}, "About 3 minutes left"},
        {"nearly done", {{10, 0}, {900, 2000}}, "A few seconds left"},
        {"over an hour", {{10, 0}, {30, 100000}}, "More than an hour left"},
        // 10 s for the first half, then 20 s for 1 %: the last ten seconds' pace, not the average (28 s).
        {"a slowdown shows within the window", {{10, 0}, {510, 10000}, {520, 30000}}, "About 16 minutes left"},
        // 27 s shown, then 28 s measured: it stays, instead of flicking from 25 to 30 and back.
        {"a small rise does not show", {{100, 0}, {400, 13500}, {450, 17820}}, "About 25 seconds left"},
        {"a lower share starts again", {{10, 0}, {510, 10000}, {5, 11000}}, ""},
        {"the tick may wrap", {{10, 0xFFFFFC18u}, {30, 1000}}, "About 2 minutes left"},
    };
    for (const auto& c : cases) {
        TimeLeftEstimate estimate;
        for (const Step& step : c.steps)
            estimate.Update(step.permille, step.atMs);
        EXPECT_EQ(estimate.Text(), c.expected) << c.name;
    }
}

} // namespace
