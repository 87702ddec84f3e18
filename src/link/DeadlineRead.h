#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

class LinkClock;
class SerialIo;

// Reads into `buffer` until `count` bytes have arrived or `timeoutMs` has passed since the
// call, and returns how many arrived. The loop ends early only when all bytes are in; a
// shorter reply always costs the whole time-out. Between reads it sleeps in the device's
// wait (never spins); with `sliceMs` above 0 no single wait is longer than that and
// `afterWait` runs after each one (it may throw to abandon the read). A non-empty `endMark` also
// ends the loop once the bytes received contain it; what the read that brought it got beyond it
// stays in the buffer and the count.
std::size_t ReadWithDeadline(SerialIo& io, LinkClock& clock, std::uint8_t* buffer, std::size_t count,
                             std::uint32_t timeoutMs, std::uint32_t sliceMs = 0,
                             const std::function<void()>& afterWait = {}, std::string_view endMark = {});
