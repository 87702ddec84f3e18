#pragma once

#include "link/LinkClock.h"
#include "link/LinkTiming.h"
#include "link/SerialIo.h"
#include "link/TransferObserver.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The building blocks every exchange with the panel is made of: speed switches, reply
// windows, flushing, block packets and whole payloads. All waiting goes through here, so the
// observer's keepAlive() runs at least every LinkTiming::keepAliveInterval and a cancelled()
// observer ends the wait with TransferCancelled; that includes waits for a write to drain.
// The short pauses inside a packet and a speed switch finish before a cancel is honoured, so
// the panel never sees half a command; only a line that stopped taking bytes is abandoned
// mid-write, and then nothing more is sent.
class LinkFraming {
public:
    LinkFraming(SerialIo& io, LinkClock& clock, TransferObserver& observer, const LinkTiming& timing = LinkTiming{});

    const LinkTiming& Timing() const { return timing; }
    SerialIo& Io() { return io; }
    TransferObserver& Observer() { return observer; }
    // True between "%highbaud\n" and the return to 9600.
    bool AtTransferSpeed() const { return fast; }

    // A `cancellable` write honours a cancel before its first byte; any write is abandoned
    // when cancelled while the line does not take its bytes.
    void Write(std::string_view text, bool cancellable = true);
    void WriteBytes(const std::uint8_t* data, std::size_t length, bool cancellable = true);
    // Throws TransferCancelled when the observer has been cancelled; keeps the window alive.
    void CheckCancelled() { Service(true); }
    // Sleeps `ms`, calling keepAlive() in between; a pause that is not `cancellable` runs to
    // its end even when the observer has been cancelled.
    void Pause(std::uint32_t ms, bool cancellable = true);
    // Deadline read: returns when `count` bytes have arrived or `timeoutMs` has passed.
    std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs);

    // One reply window: reads for LinkTiming::replyWindow from its start, at most
    // kReplyWindowBytes, into `buffer`; returns the count received. A reply that starts late
    // is cut at the window's end and its rest stays for the next read. With `endAtLine` the
    // window also ends with the read that completes a reply line (kReplyLineEnd).
    std::size_t ReplyWindow(std::uint8_t* buffer, bool endAtLine = false);
    // Runs reply windows until one receives something and returns that window's bytes.
    // Waits without limit for a silent panel (only a cancel ends it). While `*endAtLine` holds,
    // windows end at a reply line; a silent window clears it, so a late reply is heard out in
    // full windows.
    std::string AwaitReply(bool* endAtLine = nullptr);
    // Runs reply windows until one receives nothing, discarding everything.
    void FlushUntilQuiet();
    // Discards what has already arrived, `chunk` bytes per read, without waiting.
    void FlushPending(std::size_t chunk);

    // "%highbaud\n", the pause, the port to the transfer speed, LinkTiming::afterSpeedUp. A
    // cancel during the switch returns to the idle speed as soon as the panel has switched.
    void SwitchToHighSpeed(std::uint32_t pause);
    // The pause, "%lowbaud\n", LinkTiming::lowBaudToSwitch, the port to the idle speed.
    void SwitchToLowSpeed(std::uint32_t pauseBefore);
    // After a cancel: back to the idle speed if the transfer had left it, without honouring
    // the cancel again. When a write was abandoned the panel cannot be told, so only the port
    // changes speed. A device error on the way still propagates.
    void ReturnToIdleSpeed(std::uint32_t pauseBefore);

    // "%binblock\n", the packet of `data` (zero-padded to 1000 bytes), then the reply; true
    // only for "%return 0\r\n" exactly, as the whole of the window that ended the wait. While
    // `*endAtReply` holds, what waits on the line is discarded before the command and again
    // before the packet, and the windows end at a reply line; it is cleared when the block was
    // not acknowledged at once (no reply in the first window, or another one).
    [[nodiscard]] bool SendBlock(std::int32_t index, std::int32_t count, std::span<const std::uint8_t> data,
                                 bool* endAtReply = nullptr);
    // The whole payload as acknowledged blocks and a trailer, between a flush, the speed-up
    // and the slow-down; reports progress after each acknowledged block. Returns the panel's
    // reply to the trailer, heard as the blocks' replies were: ended by its line while they
    // were, else in full windows.
    [[nodiscard]] std::string SendPayload(std::span<const std::uint8_t> payload, const PayloadParameters& parameters);

private:
    void Service(bool cancellable);
    // Back to the idle speed on the port's side only.
    void SettleAtIdleSpeed();

    SerialIo& io;
    LinkClock& clock;
    TransferObserver& observer;
    LinkTiming timing;
    bool fast = false;
    // A write was abandoned: the line does not take bytes, so nothing more is sent.
    bool writeAbandoned = false;
};
