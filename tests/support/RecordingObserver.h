#pragma once

#include "FakeLinkClock.h"
#include "FakeSerialPeer.h"
#include "link/TransferObserver.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

// Notes every progress position and keep-alive time; cancels once virtual time reaches cancelAt.
class RecordingObserver : public TransferObserver {
public:
    explicit RecordingObserver(FakeLinkClock& clock) : clock(clock) {}

    void progress(int permille) override { positions.push_back(permille); }
    void keepAlive() override { keepAlives.push_back(clock.now); }
    bool cancelled() override { return cancelAt && clock.now >= *cancelAt; }

    // The longest stretch of virtual time, from `start` to `end`, without a keepAlive().
    std::uint32_t LongestSilence(std::uint32_t start, std::uint32_t end) const {
        std::uint32_t longest = 0;
        std::uint32_t last = start;
        for (const std::uint32_t at : keepAlives) {
            longest = std::max(longest, at - last);
            last = at;
        }
        return std::max(longest, end - last);
    }

    std::vector<int> positions;
    std::vector<std::uint32_t> keepAlives;
    std::optional<std::uint32_t> cancelAt;

private:
    FakeLinkClock& clock;
};

// A fake line with a framing over it, ready to use.
struct FakeLine {
    FakeLinkClock clock;
    FakeSerialPeer peer{clock};
    RecordingObserver observer{clock};
};
