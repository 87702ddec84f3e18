#pragma once

#include "link/LinkClock.h"

#include <cstdint>
#include <string>
#include <vector>

// What happened on a fake line, in order: writes, reads that got bytes, pauses, speed changes.
struct LineEvent {
    enum class Kind { Write, Read, Sleep, Speed };
    Kind kind;
    std::uint32_t at;    // virtual ms when it happened (a sleep: when it began)
    std::string bytes;   // Write, Read
    std::uint32_t value; // Sleep: ms; Speed: bits per second; Write: speed it left at
};

// Virtual time: sleeping advances it at once, so timing tests run in microseconds.
class FakeLinkClock : public LinkClock {
public:
    std::uint32_t NowMs() override { return now; }
    void SleepMs(std::uint32_t ms) override {
        // Consecutive slices of one pause read as one pause.
        if (!events.empty() && events.back().kind == LineEvent::Kind::Sleep &&
            events.back().at + events.back().value == now)
            events.back().value += ms;
        else
            events.push_back({LineEvent::Kind::Sleep, now, {}, ms});
        now += ms;
    }

    std::uint32_t now = 0;
    std::vector<LineEvent> events;
};
