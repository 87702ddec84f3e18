#include "link/LinkProtocol.h"

#include "link/Crc32.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Replies are C text to the panel: whatever follows a zero byte is not part of it.
std::string_view UpToZero(std::string_view text) {
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

void SkipSpace(std::string_view& text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
}

// A decimal integer as scanf's %d takes it: white space, an optional sign, digits. Fails on
// no digits and on a value outside 32 bits instead of guessing.
std::optional<std::int32_t> TakeInt(std::string_view& text) {
    SkipSpace(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    std::size_t digits = 0;
    while (!text.empty() && text.front() >= '0' && text.front() <= '9') {
        value = value * 10 + (text.front() - '0');
        if (value > 2147483648LL)
            return std::nullopt;
        text.remove_prefix(1);
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace

std::string BlockRequestCommand(std::int32_t index) {
    return "%reqblock " + std::to_string(index) + "\n";
}

std::int32_t BlockCount(std::size_t payloadLength) {
    return static_cast<std::int32_t>((payloadLength + kBlockDataBytes) / kBlockDataBytes);
}

std::array<std::uint8_t, kBlockPacketBytes> BuildBlockPacket(std::int32_t index, std::int32_t count,
                                                             std::span<const std::uint8_t> data) {
    std::array<std::uint8_t, kBlockPacketBytes> packet{};
    const std::size_t used = std::min(data.size(), kBlockDataBytes);
    if (used > 0)
        std::memcpy(packet.data() + 12, data.data(), used);
    PutLittleEndian32(packet.data(), static_cast<std::uint32_t>(index));
    PutLittleEndian32(packet.data() + 4, static_cast<std::uint32_t>(count));
    PutLittleEndian32(packet.data() + 8, Crc32(packet.data() + 12, kBlockDataBytes));
    return packet;
}

std::array<std::uint8_t, kTrailerBytes> BuildTrailer(std::int32_t lastIndex, std::span<const std::uint8_t> payload) {
    std::array<std::uint8_t, kTrailerBytes> trailer{};
    PutLittleEndian32(trailer.data(), static_cast<std::uint32_t>(lastIndex));
    PutLittleEndian32(trailer.data() + 4, static_cast<std::uint32_t>(payload.size()));
    PutLittleEndian32(trailer.data() + 8, Crc32(payload.data(), payload.size()));
    return trailer;
}

bool IsAcknowledgement(std::string_view reply) {
    return reply == kAcknowledgement;
}

bool BeginsWithReplyPrefix(std::string_view reply) {
    return reply.substr(0, kReplyPrefix.size()) == kReplyPrefix;
}

std::optional<PanelVersions> ParsePanelInfo(std::string_view reply) {
    reply = UpToZero(reply);
    if (!BeginsWithReplyPrefix(reply))
        return std::nullopt;
    std::string_view rest = reply.substr(kReplyPrefix.size());
    const auto firmware = TakeInt(rest);
    if (!firmware)
        return std::nullopt;
    const auto hardware = TakeInt(rest);
    if (!hardware)
        return std::nullopt;
    return PanelVersions{*firmware, *hardware};
}

std::optional<std::int32_t> ParseLayoutSize(std::string_view reply) {
    reply = UpToZero(reply);
    if (!BeginsWithReplyPrefix(reply))
        return std::nullopt;
    // The reply word runs to the first white space, however long it is.
    while (!reply.empty() && !IsSpace(reply.front()))
        reply.remove_prefix(1);
    return TakeInt(reply);
}
