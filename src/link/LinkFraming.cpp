#include "link/LinkFraming.h"

#include "link/DeadlineRead.h"
#include "link/LinkClock.h"
#include "link/LinkProtocol.h"
#include "link/SerialIo.h"
#include "link/TransferCancelled.h"
#include "link/TransferObserver.h"

#include <algorithm>
#include <array>

LinkFraming::LinkFraming(SerialIo& io, LinkClock& clock, TransferObserver& observer, const LinkTiming& timing)
    : io(io), clock(clock), observer(observer), timing(timing) {}

void LinkFraming::Service(bool cancellable) {
    observer.keepAlive();
    if (cancellable && observer.cancelled())
        throw TransferCancelled();
}

void LinkFraming::Write(std::string_view text, bool cancellable) {
    WriteBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), cancellable);
}

void LinkFraming::WriteBytes(const std::uint8_t* data, std::size_t length, bool cancellable) {
    if (cancellable)
        Service(true);
    io.WriteBytesServiced(data, length, timing.keepAliveInterval, [this] {
        observer.keepAlive();
        if (observer.cancelled()) {
            writeAbandoned = true;
            throw TransferCancelled();
        }
    });
}

void LinkFraming::Pause(std::uint32_t ms, bool cancellable) {
    const std::uint32_t slice = timing.keepAliveInterval > 0 ? timing.keepAliveInterval : ms;
    const std::uint32_t start = clock.NowMs();
    std::uint32_t elapsed = 0;
    while (elapsed < ms) {
        clock.SleepMs(std::min(ms - elapsed, slice));
        Service(cancellable);
        elapsed = clock.NowMs() - start;
    }
}

std::size_t LinkFraming::Read(std::uint8_t* buffer, std::size_t count, std::uint32_t timeoutMs) {
    return ReadWithDeadline(io, clock, buffer, count, timeoutMs, timing.keepAliveInterval, [this] { Service(true); });
}

std::size_t LinkFraming::ReplyWindow(std::uint8_t* buffer, bool endAtLine) {
    return ReadWithDeadline(
        io, clock, buffer, kReplyWindowBytes, timing.replyWindow, timing.keepAliveInterval, [this] { Service(true); },
        endAtLine ? kReplyLineEnd : std::string_view());
}

std::string LinkFraming::AwaitReply(bool* endAtLine) {
    std::array<std::uint8_t, kReplyWindowBytes> buffer{};
    for (;;) {
        const std::size_t received = ReplyWindow(buffer.data(), endAtLine && *endAtLine);
        if (received > 0)
            return std::string(reinterpret_cast<const char*>(buffer.data()), received);
        if (endAtLine)
            *endAtLine = false;
        Service(true);
    }
}

void LinkFraming::FlushUntilQuiet() {
    std::array<std::uint8_t, kReplyWindowBytes> scratch{};
    while (ReplyWindow(scratch.data()) > 0)
        Service(true);
}

void LinkFraming::FlushPending(std::size_t chunk) {
    std::array<std::uint8_t, 1024> scratch{};
    chunk = std::clamp<std::size_t>(chunk, 1, scratch.size());
    while (io.ReadSome(scratch.data(), chunk) > 0) {
    }
}

void LinkFraming::SwitchToHighSpeed(std::uint32_t pause) {
    Write(kHighBaudCommand);
    fast = true;
    Pause(pause, false);
    io.SetBaudRate(timing.transferSpeed);
    // Nothing has been said at the new speed yet, so a cancel goes straight back.
    try {
        Service(true);
        Pause(timing.afterSpeedUp);
    } catch (const TransferCancelled&) {
        SwitchToLowSpeed(0);
        throw;
    }
}

void LinkFraming::SwitchToLowSpeed(std::uint32_t pauseBefore) {
    Pause(pauseBefore, false);
    try {
        Write(kLowBaudCommand, false);
    } catch (const TransferCancelled&) {
        SettleAtIdleSpeed();
        throw;
    }
    Pause(timing.lowBaudToSwitch, false);
    SettleAtIdleSpeed();
}

void LinkFraming::SettleAtIdleSpeed() {
    io.SetBaudRate(timing.idleSpeed);
    fast = false;
}

void LinkFraming::ReturnToIdleSpeed(std::uint32_t pauseBefore) {
    if (!fast)
        return;
    if (writeAbandoned)
        SettleAtIdleSpeed();
    else
        SwitchToLowSpeed(pauseBefore);
}

bool LinkFraming::SendBlock(std::int32_t index, std::int32_t count, std::span<const std::uint8_t> data,
                            bool* endAtReply) {
    // A window that ends at the first reply line must not meet an earlier block's late or
    // doubled reply; the panel cannot answer a packet before it has it, so all of that is stale.
    const bool discardStale = endAtReply && *endAtReply;
    if (discardStale)
        FlushPending(kReplyWindowBytes);
    const auto packet = BuildBlockPacket(index, count, data);
    Write(kBinBlockCommand);
    // The panel now expects the packet; a cancel here would leave it waiting for bytes.
    Pause(timing.binBlockToPacket, false);
    if (discardStale)
        FlushPending(kReplyWindowBytes);
    WriteBytes(packet.data(), packet.size(), false);
    const bool acknowledged = IsAcknowledgement(AwaitReply(endAtReply));
    if (endAtReply && !acknowledged)
        *endAtReply = false;
    return acknowledged;
}

std::string LinkFraming::SendPayload(std::span<const std::uint8_t> payload, const PayloadParameters& parameters) {
    const std::size_t length = payload.size();
    const std::int32_t count = BlockCount(length);
    std::int32_t index = 0;
    std::size_t offset = 0;
    std::uint64_t acknowledged = 0;
    std::string reply;
    observer.progress(0);
    try {
        FlushUntilQuiet();
        SwitchToHighSpeed(parameters.speedUpPause);
        bool endAtReply = parameters.windowsEndAtReply;
        while (offset <= length) {
            const auto data = payload.subspan(offset, std::min(kBlockDataBytes, length - offset));
            const bool wasEndingAtReply = endAtReply;
            const bool taken = SendBlock(index, count, data, &endAtReply);
            // Told once: from here on every window runs its full length, which serves a slow panel
            // and a line that loses bytes alike.
            if (wasEndingAtReply && !endAtReply && parameters.fellBack)
                parameters.fellBack(index);
            if (!taken)
                continue;
            ++index;
            offset += kBlockDataBytes;
            ++acknowledged;
            const std::uint64_t permille = length == 0 ? 1000 : acknowledged * 1000 * 1000 / length;
            observer.progress(static_cast<int>(std::min<std::uint64_t>(permille, 1000)));
        }
        Write(parameters.endCommand);
        Pause(timing.endCommandToTrailer, false);
        // The trailer's reply is heard as the blocks' were, so what came before it is stale.
        if (endAtReply)
            FlushPending(kReplyWindowBytes);
        const auto trailer = BuildTrailer(index - 1, payload);
        WriteBytes(trailer.data(), trailer.size(), false);
        Pause(parameters.trailerPause);
        reply = AwaitReply(&endAtReply);
    } catch (const TransferCancelled&) {
        ReturnToIdleSpeed(parameters.slowDownPause);
        throw;
    }
    SwitchToLowSpeed(parameters.slowDownPause);
    return reply;
}
