#include "link/DeadlineRead.h"

#include "link/LinkClock.h"
#include "link/SerialIo.h"

#include <algorithm>

namespace {

bool Holds(const std::uint8_t* buffer, std::size_t received, std::string_view mark) {
    return !mark.empty() &&
           std::search(buffer, buffer + received, mark.begin(), mark.end(),
                       [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); }) != buffer + received;
}

} // namespace

std::size_t ReadWithDeadline(SerialIo& io, LinkClock& clock, std::uint8_t* buffer, std::size_t count,
                             std::uint32_t timeoutMs, std::uint32_t sliceMs, const std::function<void()>& afterWait,
                             std::string_view endMark) {
    const std::uint32_t start = clock.NowMs();
    std::uint32_t lastCall = start;
    std::size_t remaining = count;
    std::uint32_t elapsed = 0;
    while (remaining > 0 && elapsed < timeoutMs) {
        const std::size_t got = io.ReadSome(buffer + (count - remaining), remaining);
        remaining -= got;
        if (got > 0 && Holds(buffer, count - remaining, endMark))
            break;
        std::uint32_t now = clock.NowMs();
        elapsed = now - start;
        bool waited = false;
        if (remaining > 0 && got == 0 && elapsed < timeoutMs) {
            std::uint32_t wait = timeoutMs - elapsed;
            if (sliceMs > 0 && wait > sliceMs)
                wait = sliceMs;
            io.WaitReadable(wait);
            waited = true;
            now = clock.NowMs();
            elapsed = now - start;
        }
        // A steady stream never waits, so the caller is also served by the clock.
        if (afterWait && (waited || (sliceMs > 0 && now - lastCall >= sliceMs))) {
            afterWait();
            lastCall = clock.NowMs();
            elapsed = lastCall - start;
        }
    }
    return count - remaining;
}
