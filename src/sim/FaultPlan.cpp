#include "sim/FaultPlan.h"

#include "link/Crc32.h"

#include <string_view>

namespace {

constexpr std::string_view kAck = "%return 0\r\n";
constexpr std::string_view kRefusal = "%return 1\r\n";

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

} // namespace

FaultPlan::FaultPlan(const SimOptions& options) : options(options), random(options.seed) {}

std::size_t FaultPlan::pick(std::size_t size) {
    return std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
}

void FaultPlan::flipBit(std::vector<std::uint8_t>& bytes, std::size_t from) {
    const std::size_t at = from + pick(bytes.size() - from);
    bytes[at] ^= static_cast<std::uint8_t>(1u << pick(8));
}

void FaultPlan::dropByte(std::vector<std::uint8_t>& bytes, std::size_t from) {
    bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(from + pick(bytes.size() - from)));
}

std::vector<std::uint8_t> FaultPlan::BlockReply(std::span<const std::uint8_t> data) {
    ++blockReplies;
    ++replies;
    std::vector<std::uint8_t> reply;
    reply.reserve(8 + data.size());
    if (due(options.badLengthEvery, blockReplies)) {
        // Alternate between the two lengths just outside the valid range.
        putLe32(reply, badLengths++ % 2 == 0 ? 0u : 1001u);
        putLe32(reply, 0); // the CRC-32 of no bytes
        const std::string_view tail = kBadLengthTail;
        reply.insert(reply.end(), tail.begin(), tail.end());
        return reply;
    }
    putLe32(reply, static_cast<std::uint32_t>(data.size()));
    putLe32(reply, Crc32(data.data(), data.size()));
    reply.insert(reply.end(), data.begin(), data.end());
    // Only the data is touched: a damaged header would shift every later reply out of step.
    if (data.empty())
        return reply;
    if (due(options.corruptEvery, replies))
        flipBit(reply, 8);
    else if (due(options.dropEvery, replies))
        dropByte(reply, 8);
    return reply;
}

std::vector<std::uint8_t> FaultPlan::Acknowledgement(bool& refused) {
    ++acknowledgements;
    ++replies;
    refused = due(options.nakEvery, acknowledgements);
    if (refused)
        return bytesOf(kRefusal);
    std::vector<std::uint8_t> reply = bytesOf(kAck);
    if (due(options.corruptEvery, replies))
        flipBit(reply, 0);
    else if (due(options.dropEvery, replies))
        dropByte(reply, 0);
    else if (due(options.extraEvery, acknowledgements))
        reply.push_back(static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(random)));
    return reply;
}

bool FaultPlan::DamageStored(std::span<std::uint8_t> layout) const {
    if (options.damageStore < 0 || static_cast<std::size_t>(options.damageStore) >= layout.size())
        return false;
    layout[static_cast<std::size_t>(options.damageStore)] ^= 0xFF;
    return true;
}

std::uint8_t FaultPlan::Garbage() {
    return static_cast<std::uint8_t>(0x80 | std::uniform_int_distribution<int>(0, 127)(random));
}
