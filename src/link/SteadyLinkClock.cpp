#include "link/SteadyLinkClock.h"

#include <cerrno>
#include <ctime>

std::uint32_t SteadyLinkClock::NowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000U + static_cast<std::uint64_t>(now.tv_nsec) / 1000000U;
    return static_cast<std::uint32_t>(ms);
}

void SteadyLinkClock::SleepMs(std::uint32_t ms) {
    timespec left{static_cast<time_t>(ms / 1000U), static_cast<long>(ms % 1000U) * 1000000L};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}
