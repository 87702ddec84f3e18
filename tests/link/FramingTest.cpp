#include "RecordingObserver.h"
#include "ScriptedPanel.h"
#include "TestBytes.h"
#include "link/Crc32.h"
#include "link/LinkFraming.h"
#include "link/LinkProtocol.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

struct FramingTest : ::testing::Test {
    FakeLine line;
    LinkFraming link{line.peer, line.clock, line.observer};
};

// What a panel that stores each packet in its block's place ends up holding, checked against
// `payload`: every packet well formed, every block there, zeros after the payload, the trailer
// right. Returns the block indexes in the order they came.
std::vector<std::uint32_t> ExpectDelivered(const ScriptedPanel& panel, const std::string& payload,
                                           const std::string& name) {
    const auto blocks = static_cast<std::uint32_t>(payload.size() / 1000 + 1);
    std::vector<std::uint32_t> order;
    std::string stored(blocks * 1000, '\x5A');
    for (const auto& text : panel.packets) {
        const auto* packet = reinterpret_cast<const std::uint8_t*>(text.data());
        const std::uint32_t index = GetLittleEndian32(packet);
        order.push_back(index);
        EXPECT_LT(index, blocks) << name;
        EXPECT_EQ(GetLittleEndian32(packet + 4), blocks) << name;
        EXPECT_EQ(GetLittleEndian32(packet + 8), Crc32(packet + 12, 1000)) << name;
        if (index < blocks)
            stored.replace(index * 1000, 1000, text.substr(12));
    }
    // Block i carries bytes 1000·i onward; what follows the payload is zeros.
    EXPECT_EQ(stored.substr(0, payload.size()), payload) << name;
    EXPECT_EQ(stored.substr(payload.size()), std::string(stored.size() - payload.size(), '\0')) << name;
    EXPECT_EQ(panel.trailers.size(), 1U) << name;
    if (panel.trailers.size() == 1) {
        const auto* trailer = reinterpret_cast<const std::uint8_t*>(panel.trailers[0].data());
        EXPECT_EQ(GetLittleEndian32(trailer), blocks - 1) << name;
        EXPECT_EQ(GetLittleEndian32(trailer + 4), payload.size()) << name;
        EXPECT_EQ(GetLittleEndian32(trailer + 8), Crc32(AsSpan(payload).data(), payload.size())) << name;
    }
    return order;
}

// The ms from the first write of one of `from` to the first write of one of `to` after it.
std::uint32_t MsBetweenWrites(const std::vector<LineEvent>& events, std::vector<std::string_view> from,
                              std::vector<std::string_view> to) {
    std::optional<std::uint32_t> first;
    for (const auto& event : events) {
        const auto is = [&](const std::vector<std::string_view>& texts) {
            return event.kind == LineEvent::Kind::Write && std::ranges::find(texts, event.bytes) != texts.end();
        };
        if (!first && is(from))
            first = event.at;
        else if (first && is(to))
            return event.at - *first;
    }
    return 0;
}

// From the first "%binblock\n" to the end command: the time the blocks took.
std::uint32_t BlockPhaseMs(const std::vector<LineEvent>& events) {
    return MsBetweenWrites(events, {kBinBlockCommand}, {kEndLayoutCommand, kEndBlockCommand});
}

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
        std::vector<std::uint32_t> inOrder(static_cast<std::size_t>(c.blocks));
        std::iota(inOrder.begin(), inOrder.end(), 0U);
        EXPECT_EQ(ExpectDelivered(panel, payload, std::to_string(c.length)), inOrder);
    }
}

// Each packet's answer, as (ms after the packet, bytes) pieces.
using Answer = std::vector<std::pair<std::uint32_t, std::string>>;

TEST_F(FramingTest, TheAcknowledgementEndsTheWindowUntilTheFirstTrouble) {
    const std::string ack = "%return 0\r\n";
    const struct {
        const char* name;
        std::map<int, Answer> answers; // by packet; the others are acknowledged after 5 ms
        std::vector<std::uint32_t> blocks;
        std::vector<std::int32_t> fellBack;
        std::uint32_t phaseMs;
    } cases[] = {
        // Each block: 5 ms before its packet, the answer, the next block at once.
        {"whole", {}, {0, 1, 2}, {}, 3 * 10},
        {"in two pieces", {{0, {{5, "%return 0"}, {9, "\r\n"}}}}, {0, 1, 2}, {}, 14 + 2 * 10},
        // A block not acknowledged at once goes again, and every window from then on is heard
        // out in full: 5 + 500 ms a block.
        {"pieces that never end", {{0, {{5, "%return 0"}}}}, {0, 0, 1, 2}, {0}, 4 * 505},
        {"late: taken, then full windows", {{0, {{600, ack}}}}, {0, 1, 2}, {0}, 5 + 1000 + 2 * 505},
        {"twice in one read", {{0, {{5, ack + ack}}}}, {0, 0, 1, 2}, {0}, 10 + 3 * 505},
        // The second copy comes before block 1's packet and must not pass for its answer.
        {"twice, then block 1 refused",
         {{0, {{5, ack}, {7, ack}}}, {1, {{5, "%return 1\r\n"}}}},
         {0, 1, 1, 2},
         {1},
         2 * 10 + 2 * 505},
        {"garbage", {{0, {{5, "\xF3\x81 0\r\n"}}}}, {0, 0, 1, 2}, {0}, 10 + 3 * 505},
        {"a stray byte after the acknowledgement", {{0, {{5, ack}, {6, "\xFF"}}}}, {0, 1, 2}, {}, 3 * 10},
        {"a stray byte in the same read", {{0, {{5, ack + "\xFF"}}}}, {0, 0, 1, 2}, {0}, 10 + 3 * 505},
        {"a stray byte before the trailer", {{2, {{5, ack}, {7, "\xFF"}}}}, {0, 1, 2}, {}, 3 * 10},
    };
    for (const auto& c : cases) {
        FakeLine fresh;
        ScriptedPanel panel(fresh.peer, fresh.clock);
        panel.packetReply = [&](int packet) {
            const auto answer = c.answers.find(packet);
            if (answer == c.answers.end())
                return ack;
            for (const auto& [after, bytes] : answer->second)
                fresh.peer.SendAt(fresh.clock.now + after, bytes);
            return std::string();
        };
        LinkFraming framing(fresh.peer, fresh.clock, fresh.observer);
        std::vector<std::int32_t> fellBack;
        const std::string payload = TestBytes(2500);
        const auto parameters =
            LayoutUploadParameters(framing.Timing(), false, [&](std::int32_t block) { fellBack.push_back(block); });
        EXPECT_EQ(framing.SendPayload(AsSpan(payload), parameters), ack) << c.name;
        EXPECT_EQ(ExpectDelivered(panel, payload, c.name), c.blocks) << c.name;
        EXPECT_EQ(fellBack, c.fellBack) << c.name;
        EXPECT_EQ(BlockPhaseMs(fresh.clock.events), c.phaseMs) << c.name;
        EXPECT_THAT(fresh.observer.positions, ElementsAre(0, 400, 800, 1000)) << c.name;
        EXPECT_LE(fresh.observer.LongestSilence(0, fresh.clock.now), 20U) << c.name;
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
    const std::vector<std::string> upload = {"W9600 %highbaud\\n",
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
                                             "B9600"};
    const struct {
        bool firmware;
        bool fullWindows;
        // The same bytes at the same pauses; the acknowledgement ends the window of a layout's
        // block and of its trailer unless the full windows are asked for, never a firmware's.
        std::uint32_t blocksMs;
        std::uint32_t trailerMs; // from the end command to "%lowbaud\n"
        std::vector<std::string> expected;
    } cases[] = {
        {false, false, 2 * 10, 5 + 10 + 20, upload},
        {false, true, 2 * 505, 5 + 10 + 500 + 20, upload},
        {true,
         false,
         2 * 505,
         5 + 5 + 500,
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
            c.firmware ? FirmwareParameters(framing.Timing()) : LayoutUploadParameters(framing.Timing(), c.fullWindows);
        static_cast<void>(framing.SendPayload(AsSpan(payload), parameters));
        EXPECT_THAT(Transcript(fresh.clock.events), ElementsAreArray(c.expected));
        EXPECT_EQ(BlockPhaseMs(fresh.clock.events), c.blocksMs);
        EXPECT_EQ(MsBetweenWrites(fresh.clock.events, {kEndLayoutCommand, kEndBlockCommand}, {kLowBaudCommand}),
                  c.trailerMs);
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
