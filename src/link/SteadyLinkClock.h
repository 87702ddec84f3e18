#pragma once

#include "link/LinkClock.h"

// The machine's monotonic clock; sleeping really sleeps.
class SteadyLinkClock : public LinkClock {
public:
    std::uint32_t NowMs() override;
    void SleepMs(std::uint32_t ms) override;
};
