#pragma once

#include "sim/FaultPlan.h"
#include "sim/PanelStore.h"
#include "sim/SimOptions.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The panel's side of the serial protocol: takes the tool's bytes as they arrive and produces the
// panel's answers. Time is handed in (nanoseconds of any steady clock), so the engine behaves the
// same on a pty and under test. Its command words, sizes and replies are spelt out here and in
// PanelEngine.cpp on purpose instead of shared with the link: it is an independent panel, so a
// mistake in the tool's protocol table cannot be mirrored by the panel it is tested against.
class PanelEngine {
public:
    using Nanos = std::int64_t;
    static constexpr Nanos kMillisecond = 1'000'000;

    static constexpr int kIdleSpeed = 9600;
    static constexpr int kTransferSpeed = 115200;
    static constexpr std::size_t kBlockData = 1000;
    static constexpr std::size_t kPacketBytes = 12 + kBlockData;
    static constexpr std::size_t kTrailerBytes = 12;
    // Uploads of more blocks than this (4 MB) are refused block by block.
    static constexpr std::int32_t kMaxBlocks = 4096;
    // A command line longer than this is noise; it is dropped up to its line feed.
    static constexpr std::size_t kMaxLine = 64;
    // A packet or trailer that stalls this long is given up, so a tool that stopped half-way does
    // not leave the panel swallowing its next commands as data.
    static constexpr Nanos kFrameGap = 500 * kMillisecond;
    // After a firmware upload the panel writes it, then restarts; while restarting it hears nothing.
    static constexpr Nanos kFlashTime = 50 * kMillisecond;
    static constexpr Nanos kRestartTime = 200 * kMillisecond;
    // The panel's transmit FIFO and driver buffer together. A UART sends no faster than its line,
    // so a tool that asks without reading cannot make the panel hold more: a reply that does not
    // fit whole is dropped, and the next command is answered once there is room again.
    static constexpr std::size_t kOutputCapacity = 4096;

    PanelEngine(const SimOptions& options, PanelStore& store);

    // The tool's bytes, arrived at `now`.
    void Receive(std::span<const std::uint8_t> bytes, Nanos now);
    // Runs what falls due by `now`: restarts, abandoned packets.
    void Advance(Nanos now);
    // When Advance next has something to do.
    std::optional<Nanos> NextTimer() const;
    // The panel's bytes produced since the last call, in order.
    std::vector<std::uint8_t> TakeOutput();
    // Bytes of earlier replies still on their way out; they take room in the output buffer.
    void SetQueued(std::size_t bytes) { queued = bytes; }
    // How many replies found the output buffer full.
    std::uint64_t DroppedReplies() const { return droppedReplies; }

    int Speed() const { return speed; }
    bool Restarting() const { return restartEnds.has_value(); }
    bool Silent() const;
    // How often the panel has restarted (reboot command or new firmware).
    int Restarts() const { return restarts; }
    // Noise for the line emulation, from the same seeded source as the faults.
    std::uint8_t Garbage() { return faults.Garbage(); }

    // Told of each command and what came of it, for --verbose.
    std::function<void(const std::string&)> onEvent;

private:
    enum class Mode { Command, Packet, LayoutTrailer, FirmwareTrailer };
    struct Upload {
        std::int32_t count = 0;
        std::vector<std::uint8_t> data;
        std::vector<bool> received;
    };

    void take(std::uint8_t byte, Nanos now);
    void command(std::string_view text, Nanos now);
    void requestBlock(std::string_view index);
    void packet();
    void trailer(bool firmware, Nanos now);
    // Empty when the trailer is good; otherwise why the payload is refused.
    [[nodiscard]] std::string checkTrailer(bool firmware, std::int32_t lastIndex, std::int32_t length,
                                           std::uint32_t crc) const;
    void restart(Nanos now);
    void reply(std::string_view text);
    void send(std::span<const std::uint8_t> bytes);
    void event(const std::string& text);
    const std::vector<std::uint8_t>& downloadData();

    SimOptions options;
    PanelStore& store;
    FaultPlan faults;
    int speed = kIdleSpeed;
    Mode mode = Mode::Command;
    std::string line;
    bool overlong = false;
    std::vector<std::uint8_t> frame; // the packet or trailer being collected
    Nanos lastByte = 0;
    std::optional<Upload> upload;
    // What the download serves: four bytes with the image's length, then the image. Fixed when
    // the size is asked for, so the blocks always come from one image.
    std::optional<std::vector<std::uint8_t>> download;
    std::optional<Nanos> flashEnds;
    std::optional<Nanos> restartEnds;
    std::uint64_t commands = 0;
    int restarts = 0;
    std::vector<std::uint8_t> output;
    std::size_t queued = 0;
    std::uint64_t droppedReplies = 0;
};
