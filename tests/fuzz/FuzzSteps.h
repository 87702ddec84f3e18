#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// An input cut into steps for the targets that play one side of a conversation: the first step's
// bytes, then for each further step the marker "\xFF~", one parameter byte and its bytes. The
// parameter says when or how the step happens; the first step's is 0.
struct FuzzStep {
    std::uint8_t parameter = 0;
    std::string bytes;
};

inline constexpr std::string_view kFuzzStepMarker = "\xFF~";

inline std::vector<FuzzStep> SplitFuzzSteps(std::span<const std::uint8_t> input) {
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    std::vector<FuzzStep> steps(1);
    std::size_t from = 0;
    for (;;) {
        const std::size_t marker = text.find(kFuzzStepMarker, from);
        if (marker == std::string_view::npos || marker + kFuzzStepMarker.size() >= text.size()) {
            steps.back().bytes.assign(text.substr(from));
            return steps;
        }
        steps.back().bytes.assign(text.substr(from, marker - from));
        const std::size_t parameter = marker + kFuzzStepMarker.size();
        steps.push_back({static_cast<std::uint8_t>(text[parameter]), {}});
        from = parameter + 1;
    }
}

// A broken invariant: say which and stop, so the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            __builtin_printf("%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);                                   \
            __builtin_trap();                                                                                          \
        }                                                                                                              \
    } while (false)
