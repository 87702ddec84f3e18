#include "RecordingObserver.h"
#include "ScriptedPanel.h"
#include "TestBytes.h"
#include "link/CSerialException.h"
#include "link/LinkFraming.h"
#include "link/TransferCancelled.h"
#include "link/Transfers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>

namespace {

// How a panel can keep a transfer from ever ending.
enum class Stall { SilentBlocks, NeverAcknowledges, SilentAfterPacket, Chatters, Serves };

struct Rig {
    explicit Rig(Stall stall) {
        const std::string layout = TestBytes(3000);
        panel.sizeReply = "%return 3000 0\r\n";
        panel.blockReply = [stall, layout](std::int32_t index, int) {
            if (stall == Stall::SilentBlocks)
                return std::string();
            return ScriptedPanel::BlockReply(layout.substr(static_cast<std::size_t>(index) * 1000, 1000));
        };
        if (stall == Stall::NeverAcknowledges)
            panel.packetReply = [](int) { return std::string("%return 1\r\n"); };
        if (stall == Stall::SilentAfterPacket)
            panel.packetReply = [](int) { return std::string(); };
        if (stall == Stall::Chatters)
            for (std::uint32_t at = 0; at < 60000; at += 100)
                line.peer.SendAt(at, "chatter");
    }

    FakeLine line;
    ScriptedPanel panel{line.peer, line.clock};
    LinkFraming link{line.peer, line.clock, line.observer};
};

const std::string kPayload = TestBytes(4000);

using Transfer = std::function<void(LinkFraming&)>;
const Transfer kDownload = [](LinkFraming& l) { static_cast<void>(DownloadLayout(l)); };
const Transfer kUpload = [](LinkFraming& l) { static_cast<void>(UploadLayout(l, AsSpan(kPayload), 512000)); };
const Transfer kFirmware = [](LinkFraming& l) { static_cast<void>(UpgradeFirmware(l, AsSpan(kPayload))); };
const Transfer kProbe = [](LinkFraming& l) { ProbePanel(l); };
const Transfer kInfo = [](LinkFraming& l) { static_cast<void>(RequestPanelInfo(l)); };
const Transfer kReboot = [](LinkFraming& l) { Reboot(l); };
const Transfer kHandshake = [](LinkFraming& l) {
    ProbePanel(l);
    static_cast<void>(RequestPanelInfo(l));
};

TEST(CancelTest, CancelledTransfersReturnTo9600AndStop) {
    const struct {
        const char* name;
        Transfer run;
        Stall stall;
        std::uint32_t cancelAt;
        bool wasFast;
        std::uint32_t doneBy; // virtual ms
    } cases[] = {
        {"download, panel silent", kDownload, Stall::SilentBlocks, 5000, true, 5000 + 20 + 120},
        {"download, during the speed-up", kDownload, Stall::Serves, 50, true, 100 + 100},
        {"upload, never acknowledged", kUpload, Stall::NeverAcknowledges, 5000, true, 5000 + 20 + 120},
        {"upload, silent after a packet", kUpload, Stall::SilentAfterPacket, 5000, true, 5000 + 20 + 120},
        {"firmware, silent after a packet", kFirmware, Stall::SilentAfterPacket, 5000, true, 5000 + 20 + 100},
        {"firmware, panel never quiet", kFirmware, Stall::Chatters, 3000, false, 3000 + 20},
        {"handshake", kHandshake, Stall::Serves, 700, false, 700 + 20},
    };
    for (const auto& c : cases) {
        Rig rig(c.stall);
        rig.line.observer.cancelAt = c.cancelAt;
        EXPECT_THROW(c.run(rig.link), TransferCancelled) << c.name;
        EXPECT_EQ(rig.line.peer.speed, 9600U) << c.name;
        EXPECT_FALSE(rig.link.AtTransferSpeed()) << c.name;
        const auto transcript = Transcript(rig.line.clock.events, false);
        const bool slowedDown =
            std::find(transcript.begin(), transcript.end(), "W115200 %lowbaud\\n") != transcript.end();
        EXPECT_EQ(slowedDown, c.wasFast) << c.name;
        if (c.wasFast) {
            EXPECT_EQ(transcript.back(), "B9600") << c.name;
        }
        EXPECT_LE(rig.line.clock.now, c.doneBy) << c.name;
        EXPECT_LE(rig.line.clock.now - c.cancelAt, 200U) << c.name;
        EXPECT_LE(rig.line.observer.LongestSilence(0, rig.line.clock.now), 20U) << c.name;
    }
}

TEST(CancelTest, ASpeedSwitchFinishesBeforeTheCancelThenGoesStraightBack) {
    Rig rig(Stall::Serves);
    rig.line.observer.cancelAt = 50;
    EXPECT_THROW(kDownload(rig.link), TransferCancelled);
    // Nothing was said at the new speed, so the settling pause is not waited out.
    EXPECT_THAT(
        Transcript(rig.line.clock.events, false),
        ::testing::ElementsAre("W9600 %highbaud\\n", "S100", "B115200", "W115200 %lowbaud\\n", "S100", "B9600"));
}

// The writes made after `from`, as transcript lines.
std::vector<std::string> WritesFrom(const std::vector<LineEvent>& events, std::uint32_t from) {
    std::vector<LineEvent> later;
    for (const auto& event : events)
        if (event.kind == LineEvent::Kind::Write && event.at >= from)
            later.push_back(event);
    return Transcript(later, false);
}

TEST(CancelTest, EveryStageStopsWithinAFifthOfASecondAndSendsNothingMore) {
    const std::vector<std::string> nothing;
    const std::vector<std::string> backToIdle{"W115200 %lowbaud\\n"};
    const struct {
        const char* name;
        Transfer run;
        Stall stall;
        std::uint32_t cancelAt;
        std::optional<std::uint32_t> stuckAt; // writes stop draining
        std::vector<std::string> writesAfterCancel;
    } cases[] = {
        {"probe, before it starts", kProbe, Stall::Serves, 0, {}, nothing},
        {"probe, while it waits", kProbe, Stall::Serves, 300, {}, nothing},
        {"version request, before it starts", kInfo, Stall::Serves, 0, {}, nothing},
        {"reboot, before it is sent", kReboot, Stall::Serves, 0, {}, nothing},
        {"download, before the speed switch", kDownload, Stall::Serves, 0, {}, nothing},
        {"upload, before the speed switch", kUpload, Stall::Serves, 0, {}, nothing},
        {"firmware, before the speed switch", kFirmware, Stall::Serves, 0, {}, nothing},
        {"download, mid blocks", kDownload, Stall::SilentBlocks, 2345, {}, backToIdle},
        {"upload, mid blocks", kUpload, Stall::SilentAfterPacket, 2345, {}, backToIdle},
        {"download, a speed command that does not drain", kDownload, Stall::Serves, 1000, 0, nothing},
        {"upload, a packet that does not drain", kUpload, Stall::Serves, 3000, 1302, nothing},
        {"firmware, a packet that does not drain", kFirmware, Stall::Serves, 3000, 1400, nothing},
    };
    for (const auto& c : cases) {
        Rig rig(c.stall);
        rig.line.observer.cancelAt = c.cancelAt;
        if (c.stuckAt)
            rig.line.peer.StopDrainingAt(*c.stuckAt);
        EXPECT_THROW(c.run(rig.link), TransferCancelled) << c.name;
        EXPECT_LE(rig.line.clock.now - c.cancelAt, 200U) << c.name;
        EXPECT_THAT(WritesFrom(rig.line.clock.events, c.cancelAt + 1), ::testing::ElementsAreArray(c.writesAfterCancel))
            << c.name;
        EXPECT_EQ(rig.line.peer.speed, 9600U) << c.name;
        EXPECT_FALSE(rig.link.AtTransferSpeed()) << c.name;
        EXPECT_LE(rig.line.observer.LongestSilence(0, rig.line.clock.now), 20U) << c.name;
    }
}

TEST(CancelTest, AWriteThatNeverDrainsFailsWithoutACancel) {
    Rig rig(Stall::Serves);
    rig.line.peer.StopDrainingAt(0);
    try {
        kDownload(rig.link);
        ADD_FAILURE() << "no exception";
    } catch (const CSerialException& e) {
        EXPECT_EQ(e.errorCode, static_cast<std::uint32_t>(ETIMEDOUT));
    }
    EXPECT_LE(rig.line.observer.LongestSilence(0, rig.line.clock.now), 20U);
}

TEST(VanishTest, AVanishedDeviceEndsTheTransferAtOnce) {
    const struct {
        const char* name;
        Transfer run;
        Stall stall;
        std::uint32_t vanishAt;
    } cases[] = {
        {"download, between blocks", kDownload, Stall::SilentBlocks, 1500},
        {"upload, awaiting a reply", kUpload, Stall::SilentAfterPacket, 3000},
        {"firmware, flushing", kFirmware, Stall::Chatters, 250},
        {"handshake", kHandshake, Stall::Serves, 900},
    };
    for (const auto& c : cases) {
        Rig rig(c.stall);
        rig.line.peer.VanishAt(c.vanishAt);
        try {
            c.run(rig.link);
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const CSerialException& e) {
            EXPECT_EQ(e.errorCode, static_cast<std::uint32_t>(EIO)) << c.name;
        }
        EXPECT_EQ(rig.line.clock.now, c.vanishAt) << c.name;
    }
}

} // namespace
