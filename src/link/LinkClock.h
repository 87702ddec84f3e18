#pragma once

#include <cstdint>

// The millisecond tick and the sleep the link's deadlines and pauses are measured with.
// Elapsed times are unsigned 32-bit differences, so the tick may wrap.
class LinkClock {
public:
    virtual ~LinkClock() = default;

    virtual std::uint32_t NowMs() = 0;
    virtual void SleepMs(std::uint32_t ms) = 0;
};
