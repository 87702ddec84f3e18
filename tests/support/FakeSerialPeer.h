#pragma once

#include "FakeLinkClock.h"
#include "link/SerialIo.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An in-memory line with the panel's end under the test's control. Bytes the panel sends
// arrive at a virtual time; waiting for them moves the fake clock, never the real one.
class FakeSerialPeer : public SerialIo {
public:
    explicit FakeSerialPeer(FakeLinkClock& clock) : clock(clock) {}

    std::size_t ReadSome(std::uint8_t* buffer, std::size_t maxCount) override;
    bool WaitReadable(std::uint32_t timeoutMs) override;
    void WriteBytes(const std::uint8_t* data, std::size_t length) override;
    void WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                            const std::function<void()>& whileWaiting) override;
    void SetBaudRate(std::uint32_t bitsPerSecond) override;

    // The panel's side.
    void SendAt(std::uint32_t at, std::string_view bytes);
    void Send(std::string_view bytes) { SendAt(clock.now, bytes); }
    // One byte every `msPerByte`, the first at `at`.
    void Trickle(std::uint32_t at, std::string_view bytes, std::uint32_t msPerByte);
    // From `at` on, every call fails as an unplugged device does.
    void VanishAt(std::uint32_t at) { vanishAt = at; }
    // From `at` on, writes never drain: each waits, calling its service, until the port's five
    // second stall limit fails it. Bytes of a stuck write never reach the panel.
    void StopDrainingAt(std::uint32_t at) { stuckFrom = at; }
    std::size_t Pending() const { return incoming.size(); }

    // Called with each write, after it is logged.
    std::function<void(std::string_view)> onWrite;
    std::uint32_t speed = 9600;

private:
    struct Arrival {
        std::uint32_t at;
        std::uint8_t byte;
    };
    void CheckPresent();

    FakeLinkClock& clock;
    std::deque<Arrival> incoming; // ordered by arrival time
    std::optional<std::uint32_t> vanishAt;
    std::optional<std::uint32_t> stuckFrom;
};

// The events as short lines: "W9600 %highbaud\n" (a write and the speed it left at), "S100",
// "B115200", "R %return 0\r\n"; binary writes and reads show as "<1012 bytes>".
std::vector<std::string> Transcript(const std::vector<LineEvent>& events, bool withReads = true);
