#pragma once

#include "base/LittleEndian.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The panel's command lines, packets and replies, byte for byte.

inline constexpr std::string_view kProbeCommand = "$QPW\r\n";
inline constexpr std::string_view kInfoRequest = "%reqinfo\n";
inline constexpr std::string_view kHighBaudCommand = "%highbaud\n";
inline constexpr std::string_view kLowBaudCommand = "%lowbaud\n";
inline constexpr std::string_view kLayoutRequest = "%reqlayout\n";
inline constexpr std::string_view kBinBlockCommand = "%binblock\n";
inline constexpr std::string_view kEndLayoutCommand = "%endlayout\n";
inline constexpr std::string_view kEndBlockCommand = "%endblock\n";
inline constexpr std::string_view kRebootCommand = "%reboot\n";

inline constexpr std::string_view kReplyPrefix = "%return";
inline constexpr std::string_view kAcknowledgement = "%return 0\r\n";
// Every reply line ends so.
inline constexpr std::string_view kReplyLineEnd = "\r\n";

inline constexpr std::size_t kReplyWindowBytes = 200;
inline constexpr std::size_t kBlockDataBytes = 1000;
inline constexpr std::size_t kBlockPacketBytes = 12 + kBlockDataBytes;
inline constexpr std::size_t kTrailerBytes = 12;
inline constexpr std::size_t kBlockHeaderFieldBytes = 4;

// Chunk sizes of FlushPending before the probe and before "%reqinfo\n".
inline constexpr std::size_t kProbeFlushChunk = 800;
inline constexpr std::size_t kInfoFlushChunk = 200;

// The largest layout a download accepts; anything above is treated as damaged. (What an upload
// may send is the layout's own capacity, passed in by the caller.)
inline constexpr std::int32_t kMaxDownloadBytes = 1024 * 1024;

// "%reqblock <index>\n".
[[nodiscard]] std::string BlockRequestCommand(std::int32_t index);

// One more than the number of whole thousands: 999 bytes go as 1 block, 1000 as 2.
std::int32_t BlockCount(std::size_t payloadLength);

// Index, count, CRC-32 of the 1000 data bytes, then the data: `data` zero-padded to 1000.
std::array<std::uint8_t, kBlockPacketBytes> BuildBlockPacket(std::int32_t index, std::int32_t count,
                                                             std::span<const std::uint8_t> data);
// Index of the last block sent, payload length, CRC-32 of the whole payload.
std::array<std::uint8_t, kTrailerBytes> BuildTrailer(std::int32_t lastIndex, std::span<const std::uint8_t> payload);

// True for "%return 0\r\n" exactly, with nothing before or after it.
[[nodiscard]] bool IsAcknowledgement(std::string_view reply);
bool BeginsWithReplyPrefix(std::string_view reply);

struct PanelVersions {
    int firmwareVersion = 0;
    int hardwareVersion = 0;

    // Layout upload is offered only to firmware above 205.
    bool AcceptsLayoutUpload() const { return firmwareVersion > 205; }
};

// The reply to "%reqinfo\n": "%return", then the firmware and the hardware version as decimal
// integers separated by white space. Nothing when the reply does not begin with "%return" or
// either number cannot be read.
[[nodiscard]] std::optional<PanelVersions> ParsePanelInfo(std::string_view reply);

// The reply to "%reqlayout\n": a word beginning with "%return" (of any length), then the layout
// size as a signed decimal integer, then an unsigned number nobody uses. Nothing when the reply
// does not begin with "%return" or the size cannot be read.
[[nodiscard]] std::optional<std::int32_t> ParseLayoutSize(std::string_view reply);
