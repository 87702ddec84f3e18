#include "FuzzSteps.h"

#include <gtest/gtest.h>

namespace {

std::vector<FuzzStep> split(std::string_view input) {
    return SplitFuzzSteps({reinterpret_cast<const std::uint8_t*>(input.data()), input.size()});
}

// The corpus files of the conversation targets are written in this format, so a change here would
// silently turn every seed into something else.
TEST(FuzzStepsTest, CutsAtEachMarkerAndTakesTheByteAfterItAsTheParameter) {
    using namespace std::string_literals;
    struct Case {
        std::string input;
        std::vector<std::pair<int, std::string>> steps;
    };
    const Case cases[] = {
        {"", {{0, ""}}},
        {"%reqinfo\n", {{0, "%reqinfo\n"}}},
        {"a\xFF~\x05"s
         "bc",
         {{0, "a"}, {5, "bc"}}},
        {"\xFF~\x80\xFF~\x01x"s, {{0, ""}, {0x80, ""}, {1, "x"}}},
        // A marker with no parameter after it is data.
        {"a\xFF~"s, {{0, "a\xFF~"}}},
        {"a\xFF~\x07"s, {{0, "a"}, {7, ""}}},
        // A lone 0xFF or '~' is data.
        {"\xFF\x7F~\xFF"s, {{0, "\xFF\x7F~\xFF"}}},
    };
    for (const Case& c : cases) {
        const auto steps = split(c.input);
        ASSERT_EQ(steps.size(), c.steps.size()) << c.input;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].parameter, c.steps[i].first) << c.input << " step " << i;
            EXPECT_EQ(steps[i].bytes, c.steps[i].second) << c.input << " step " << i;
        }
    }
}

} // namespace
