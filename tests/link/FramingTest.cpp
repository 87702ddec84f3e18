#include "RecordingObserver.h"
#include "ScriptedPanel.h"
#include "TestBytes.h"
#include "link/Crc32.h"
#include "link/LinkFraming.h"
#include "link/LinkProtocol.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

struct FramingTest : ::testing::Test {
    FakeLine line;
    LinkFraming link{line.peer, line.clock, line.observer};
};

TEST_F(FramingTest, DeadlineRead) {
    const struct {
        const char* name;
        std::function<void(FakeSerialPeer&)> arrive;
        std::size_t count;
        std::uint32_t timeout;
        std::size_t expected;
        std::uint32_t returnsAt;
    } cases[] = {
        {"7 of 200 wait out the deadline", [](FakeSerialPeer& p) { p.SendAt(30, "%return"); }, 200, 1000, 7, 1000},
        {"200 in 300 ms return at once", [](FakeSerialPeer& p) { p.Trickle(100, std::string(200, 'x'), 1); }, 200, 1000,
         200, 299},
        {"count 0 returns at once", [](FakeSerialPeer& p) { p.SendAt(0, "abc"); }, 0, 1000, 0, 0},
        {"silence costs the time-out", [](FakeSerialPeer&) {}, 4, 1000, 0, 1000},
        {"bytes after the deadline stay", [](FakeSerialPeer& p) { p.SendAt(1000, "late"); }, 4, 1000, 0, 1000},
    };
    for (const auto& c : cases) {
        FakeLine fresh;
        LinkFraming framing(fresh.peer, fresh.clock, fresh.observer);
        c.arrive(fresh.peer);
        std::vector<std::uint8_t> buffer(200);
        EXPECT_EQ(framing.Read(buffer.data(), c.count, c.timeout), c.expected) << c.name;
        EXPECT_EQ(fresh.clock.now, c.returnsAt) << c.name;
        EXPECT_LE(fresh.observer.LongestSilence(0, fresh.clock.now), 20U) << c.name;
    }
}

TEST_F(FramingTest, ReplyWindowCutsALateReply) {
    line.peer.Trickle(495, "%return 0\r\n", 1);
    std::vector<std::uint8_t> buffer(kReplyWindowBytes);
    EXPECT_EQ(link.ReplyWindow(buffer.data()), 5U);
    EXPECT_EQ(line.clock.now, 500U);
    EXPECT_EQ(line.peer.Pending(), 6U); // the rest waits for the next read
}

TEST_F(FramingTest, AwaitReplyWaitsOutSilentWindowsAndCutsAt200) {
    line.peer.SendAt(1700, std::string(300, 'r'));
    const std::string reply = link.AwaitReply();
    EXPECT_EQ(reply, std::string(200, 'r'));
    EXPECT_EQ(line.clock.now, 1700U); // a full window returns at once
    EXPECT_EQ(line.peer.Pending(), 100U);
}

TEST_F(FramingTest, AwaitReplyReturnsAWindowsBytes) {
    line.peer.SendAt(10, "%ret");
    line.peer.SendAt(300, "urn 0\r\n");
    line.peer.SendAt(600, "next");
    EXPECT_EQ(link.AwaitReply(), "%return 0\r\n");
    EXPECT_EQ(line.clock.now, 500U);
}

TEST_F(FramingTest, FlushUntilQuietKeepsReadingWhileThePeerTalks) {
    for (std::uint32_t at = 0; at < 3000; at += 100)
        line.peer.SendAt(at, "chatter");
    link.FlushUntilQuiet();
    EXPECT_EQ(line.peer.Pending(), 0U);
    EXPECT_EQ(line.clock.now, 3500U); // windows [0,500) ... [2500,3000) heard something; [3000,3500) did not
}

TEST_F(FramingTest, FlushPendingDiscardsOnlyWhatHasArrived) {
    line.peer.SendAt(0, std::string(2000, 'a'));
    line.peer.SendAt(10, "later");
    link.FlushPending(kProbeFlushChunk);
    EXPECT_EQ(line.clock.now, 0U);
    EXPECT_EQ(line.peer.Pending(), 5U);
}

TEST_F(FramingTest, SpeedSwitches) {
    link.SwitchToHighSpeed(100);
    EXPECT_TRUE(link.AtTransferSpeed());
    EXPECT_THAT(Transcript(line.clock.events), ElementsAre("W9600 %highbaud\\n", "S100", "B115200", "S700"));
    line.clock.events.clear();
    link.SwitchToLowSpeed(20);
    EXPECT_FALSE(link.AtTransferSpeed());
    EXPECT_THAT(Transcript(line.clock.events), ElementsAre("S20", "W115200 %lowbaud\\n", "S100", "B9600"));
}

TEST_F(FramingTest, PayloadBlocks) {
    const struct {
        std::size_t length;
        std::int32_t blocks;
    } cases[] = {{1, 1}, {999, 1}, {1000, 2}, {1500, 2}, {2000, 3}, {2500, 3}, {3000, 4}};
    for (const auto& c : cases) {
        FakeLine fresh;
        ScriptedPanel panel(fresh.peer, fresh.clock);
        LinkFraming framing(fresh.peer, fresh.clock, fresh.observer);
        const std::string payload = TestBytes(c.length);
        static_cast<void>(framing.SendPayload(AsSpan(payload), LayoutUploadParameters(framing.Timing())));

        ASSERT_EQ(panel.packets.size(), static_cast<std::size_t>(c.blocks)) << c.length;
        std::string reassembled;
        for (std::int32_t i = 0; i < c.blocks; ++i) {
            const auto* packet = reinterpret_cast<const std::uint8_t*>(panel.packets[i].data());
            EXPECT_EQ(GetLittleEndian32(packet), static_cast<std::uint32_t>(i));
            EXPECT_EQ(GetLittleEndian32(packet + 4), static_cast<std::uint32_t>(c.blocks));
            EXPECT_EQ(GetLittleEndian32(packet + 8), Crc32(packet + 12, 1000));
            reassembled += panel.packets[i].substr(12);
        }
        // Block i carries bytes 1000·i onward; what follows the payload is zeros.
        EXPECT_EQ(reassembled.substr(0, c.length), payload) << c.length;
        EXPECT_EQ(reassembled.substr(c.length), std::string(reassembled.size() - c.length, '\0')) << c.length;
        ASSERT_EQ(panel.trailers.size(), 1U);
        const auto* trailer = reinterpret_cast<const std::uint8_t*>(panel.trailers[0].data());
        EXPECT_EQ(GetLittleEndian32(trailer), static_cast<std::uint32_t>(c.blocks - 1));
        EXPECT_EQ(GetLittleEndian32(trailer + 4), c.length);
        EXPECT_EQ(GetLittleEndian32(trailer + 8), Crc32(AsSpan(payload).data(), c.length));
    }
}

TEST_F(FramingTest, OnlyTheExactAcknowledgementMovesOn) {
    const std::string rejected[] = {"%return 0\n", "%return 1\r\n", "%return 0\r\nX", "%return 0\r"};
    for (const auto& reply : rejected) {
        FakeLine fresh;
        ScriptedPanel panel(fresh.peer, fresh.clock);
        panel.packetReply = [&](int packet) { return packet < 2 ? reply : std::string("%return 0\r\n"); };
        LinkFraming framing(fresh.peer, fresh.clock, fresh.observer);
        const std::string payload = TestBytes(10);
        static_cast<void>(framing.SendPayload(AsSpan(payload), LayoutUploadParameters(framing.Timing())));
        ASSERT_EQ(panel.packets.size(), 3U) << reply;
        EXPECT_EQ(panel.packets[1], panel.packets[0]) << reply;
        EXPECT_EQ(panel.packets[2], panel.packets[0]) << reply;
        EXPECT_THAT(fresh.observer.positions, ElementsAre(0, 1000)) << reply;
    }
}

TEST_F(FramingTest, UploadAndFirmwareSequences) {
    const struct {
        bool firmware;
        std::vector<std::string> expected;
    } cases[] = {
        {false,
         {"W9600 %highbaud\\n",
          "S100",
          "B115200",
          "S700", //
          "W115200 %binblock\\n",
          "S5",
          "W115200 <1012 bytes>",
          "R %return 0\\r\\n", //
          "W115200 %binblock\\n",
          "S5",
          "W115200 <1012 bytes>",
          "R %return 0\\r\\n", //
          "W115200 %endlayout\\n",
          "S5",
          "W115200 <12 bytes>",
          "S10",
          "R %return 0\\r\\n", //
          "S20",
          "W115200 %lowbaud\\n",
          "S100",
          "B9600"}},
        {true,
         {"W9600 %highbaud\\n",
          "S50",
          "B115200",
          "S700", //
          "W115200 %binblock\\n",
          "S5",
          "W115200 <1012 bytes>",
          "R %return 0\\r\\n", //
          "W115200 %binblock\\n",
          "S5",
          "W115200 <1012 bytes>",
          "R %return 0\\r\\n", //
          "W115200 %endblock\\n",
          "S5",
          "W115200 <12 bytes>",
          "S5",
          "R %return 0\\r\\n", //
          "W115200 %lowbaud\\n",
          "S100",
          "B9600"}},
    };
    for (const auto& c : cases) {
        FakeLine fresh;
        ScriptedPanel panel(fresh.peer, fresh.clock);
        LinkFraming framing(fresh.peer, fresh.clock, fresh.observer);
        const std::string payload = TestBytes(1500);
        const auto parameters =
            c.firmware ? FirmwareParameters(framing.Timing()) : LayoutUploadParameters(framing.Timing());
        static_cast<void>(framing.SendPayload(AsSpan(payload), parameters));
        EXPECT_THAT(Transcript(fresh.clock.events), ElementsAreArray(c.expected));
        // The first flush window starts the transfer; nothing is written before it ends.
        EXPECT_EQ(fresh.clock.events.front().at, 500U);
        EXPECT_THAT(fresh.observer.positions, ElementsAre(0, 666, 1000));
        EXPECT_LE(fresh.observer.LongestSilence(0, fresh.clock.now), 20U);
    }
}

TEST_F(FramingTest, StaleInputIsFlushedBeforeTheSpeedUp) {
    ScriptedPanel panel(line.peer, line.clock);
    panel.replyDelay = 600;               // the real answer comes after a whole window
    line.peer.SendAt(0, "%return 0\r\n"); // a leftover that must not acknowledge the first block
    panel.packetReply = [](int packet) { return packet == 0 ? std::string("%return 1\r\n") : "%return 0\r\n"; };
    const std::string payload = TestBytes(20);
    static_cast<void>(link.SendPayload(AsSpan(payload), LayoutUploadParameters(link.Timing())));
    EXPECT_EQ(panel.packets.size(), 2U);
}

} // namespace
