#pragma once

#include "sim/PanelEngine.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

// The wire between the tool and the panel. Plain, it hands bytes straight through. With line-rate
// emulation every byte takes 10 bit-times at the speed of the side that sends it, and a byte sent
// at a speed the receiving side is not on arrives as one byte of garbage.
class SerialLine {
public:
    using Nanos = PanelEngine::Nanos;

    SerialLine(PanelEngine& engine, bool lineRate);

    // The time one byte takes on the wire at `speed` bits per second (8N1: 10 bits).
    static Nanos ByteTime(int speed);

    // Bytes the tool wrote, seen at `now` while the tool's port was at `toolSpeed`.
    void FromTool(std::span<const std::uint8_t> bytes, Nanos now, int toolSpeed);
    // Lets the panel work up to `now`; returns the bytes that have reached the tool by then, as a
    // port at `toolSpeed` receives them.
    std::vector<std::uint8_t> ToTool(Nanos now, int toolSpeed);
    // When ToTool next has something to do.
    std::optional<Nanos> NextDue() const;

private:
    struct Timed {
        std::uint8_t byte;
        int speed;
        Nanos at; // when its last bit has arrived
    };

    void collect(Nanos at);
    // The panel's bytes not yet on their way to the tool at `at`: they fill its output buffer.
    std::size_t unsentAt(Nanos at) const;

    PanelEngine& engine;
    bool lineRate;
    std::deque<Timed> incoming;
    std::deque<Timed> outgoing;
    Nanos inputFree = 0;  // when the tool's line is free for the next byte
    Nanos outputFree = 0; // when the panel's line is free for the next byte
};
