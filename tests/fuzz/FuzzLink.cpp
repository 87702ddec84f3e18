// libFuzzer target for what the tool reads from a panel: the handshake reply, the size reply, the
// download's block stream and the replies to upload packets and trailers. A fake panel answers each
// command that wants a reply with the next step (FuzzSteps.h), on the fake clock, so no real time
// passes. A step's parameter: bits 0-6 the reply's delay in 10 ms units; bit 7 frames the bytes as
// a block reply with their true length and CRC-32, which mutation alone would rarely find. The
// first byte picks the exchange; with bit 6 set the device goes away when the steps run out
// instead of falling silent.
#include "FakeLinkClock.h"
#include "FakeSerialPeer.h"
#include "FuzzSteps.h"
#include "ScriptedPanel.h"
#include "link/CSerialException.h"
#include "link/LinkFraming.h"
#include "link/TransferCancelled.h"
#include "link/Transfers.h"

namespace {

constexpr std::size_t kPanelCapacity = 512000;

// Presses Cancel as a person would: when the panel has had nothing more to say for a while, or
// when the tool has been waiting eight seconds without sending anything.
class PatientUser : public TransferObserver {
public:
    explicit PatientUser(FakeLinkClock& clock) : clock(clock) {}
    bool cancelled() override {
        return (silentSince && clock.now - *silentSince > 4'000) || clock.now - lastWrite > 8'000;
    }

    std::optional<std::uint32_t> silentSince;
    std::uint32_t lastWrite = 0;

private:
    FakeLinkClock& clock;
};

std::vector<std::uint8_t> payload(std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
    return bytes;
}

void checkDownload(const DownloadResult& result) {
    switch (result.outcome) {
    case DownloadResult::Outcome::Downloaded:
        FUZZ_CHECK(result.announcedSize > 4 && result.announcedSize <= kMaxDownloadBytes);
        FUZZ_CHECK(result.bytes.size() == static_cast<std::size_t>(result.announcedSize));
        break;
    case DownloadResult::Outcome::InvalidSize:
        FUZZ_CHECK(result.announcedSize <= 4 || result.announcedSize > kMaxDownloadBytes);
        FUZZ_CHECK(result.bytes.empty());
        break;
    case DownloadResult::Outcome::NoReply:
        FUZZ_CHECK(result.bytes.empty());
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    const bool vanishes = (selector & 0x40) != 0;
    const std::vector<FuzzStep> steps = SplitFuzzSteps({data + 1, size - 1});

    FakeLinkClock clock;
    FakeSerialPeer peer(clock);
    ScriptedPanel panel(peer, clock);
    PatientUser user(clock);
    std::size_t next = 0;
    const auto nextReply = [&]() -> std::string {
        if (next == steps.size()) {
            if (!user.silentSince) {
                user.silentSince = clock.now;
                if (vanishes)
                    peer.VanishAt(clock.now + 1);
            }
            return {};
        }
        const FuzzStep& step = steps[next++];
        panel.replyDelay = (step.parameter & 0x7F) * 10u;
        return step.parameter & 0x80 ? ScriptedPanel::BlockReply(step.bytes) : step.bytes;
    };
    panel.onCommand = [&](const std::string& line) {
        // What a panel says to the probe is discarded, but what it says late may meet the next read.
        if (line == kProbeCommand) {
            const std::string reply = nextReply();
            if (!reply.empty())
                peer.SendAt(clock.now + panel.replyDelay, reply);
        } else if (line == kInfoRequest)
            panel.infoReply = nextReply();
        else if (line == kLayoutRequest)
            panel.sizeReply = nextReply();
        else if (line == kEndLayoutCommand || line == kEndBlockCommand)
            panel.trailerReply = nextReply();
    };
    // The panel hears every write first; note when, then let it answer.
    const auto hear = peer.onWrite;
    peer.onWrite = [&](std::string_view bytes) {
        user.lastWrite = clock.now;
        hear(bytes);
    };
    panel.blockReply = [&](std::int32_t, int) { return nextReply(); };
    panel.packetReply = [&](int) { return nextReply(); };

    LinkFraming link(peer, clock, user);
    bool lineLost = false;
    try {
        switch (selector % 4) {
        case 0:
            ProbePanel(link);
            (void)RequestPanelInfo(link);
            break;
        case 1: {
            const DownloadResult result = DownloadLayout(link);
            checkDownload(result);
            lineLost = result.lineLost != nullptr;
            break;
        }
        case 2:
            (void)UploadLayout(link, payload(2500), kPanelCapacity);
            break;
        default:
            (void)UpgradeFirmware(link, payload(1200));
            break;
        }
    } catch (const TransferCancelled&) {
    } catch (const CSerialException&) {
        // Only a device that went away may fail the line.
        FUZZ_CHECK(vanishes);
        return 0;
    }
    // Every exchange that ends on a working line ends at the idle speed.
    FUZZ_CHECK(lineLost || peer.speed == link.Timing().idleSpeed);
    return 0;
}
