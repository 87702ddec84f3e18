#pragma once

#include "sim/SimOptions.h"

#include <cstdint>
#include <random>
#include <span>
#include <vector>

// Decides which replies go out damaged. Each fault counts the replies it can touch and strikes
// every Nth one; at most one fault hits a reply, the first that is due in this order: bad length
// or refusal, corruption, a dropped byte, a stray byte. All choices come from the seed, so a run
// can be repeated exactly.
class FaultPlan {
public:
    // The text that follows a block header announcing a bad length, so the tool has something to
    // discard before it asks again.
    static constexpr const char* kBadLengthTail = "%return 1\r\n";

    explicit FaultPlan(const SimOptions& options);

    // The reply to a block request for `data`: length, CRC-32, data, possibly damaged.
    std::vector<std::uint8_t> BlockReply(std::span<const std::uint8_t> data);

    // The reply to a block packet that arrived whole. Sets `refused` when the panel turns the block
    // away instead of taking it.
    std::vector<std::uint8_t> Acknowledgement(bool& refused);

    // A layout as a failing memory keeps it: the byte at --damage-store inverted. True when the
    // layout reaches that far and was damaged.
    bool DamageStored(std::span<std::uint8_t> layout) const;

    // A byte as a receiver on the wrong speed sees it: always with the top bit set, so noise never
    // forms a command.
    std::uint8_t Garbage();

private:
    static bool due(int every, std::uint64_t count) {
        return every > 0 && count % static_cast<std::uint64_t>(every) == 0;
    }
    std::size_t pick(std::size_t size);
    void flipBit(std::vector<std::uint8_t>& bytes, std::size_t from);
    void dropByte(std::vector<std::uint8_t>& bytes, std::size_t from);

    SimOptions options;
    std::mt19937 random;
    std::uint64_t blockReplies = 0;
    std::uint64_t acknowledgements = 0;
    std::uint64_t replies = 0; // block replies and acknowledgements together
    std::uint64_t badLengths = 0;
};
