#include "RecordingObserver.h"
#include "ScriptedPanel.h"
#include "TestBytes.h"
#include "link/CSerialException.h"
#include "link/Crc32.h"
#include "link/LinkFraming.h"
#include "link/TransferRefused.h"
#include "link/Transfers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

struct Panel {
    FakeLine line;
    ScriptedPanel panel{line.peer, line.clock};
    LinkFraming link{line.peer, line.clock, line.observer};

    std::vector<std::string> BlockRequests() const {
        std::vector<std::string> requests;
        for (const auto& command : panel.commands)
            if (command.rfind("%reqblock ", 0) == 0)
                requests.push_back(command.substr(10, command.size() - 11));
        return requests;
    }
};

std::string Crc(const std::string& data) {
    return std::to_string(Crc32(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
}

TEST(HandshakeTest, ProbeFlushesSendsWaitsAndDiscards) {
    Panel p;
    p.line.peer.SendAt(0, std::string(1000, 'x')); // stale input
    p.line.peer.SendAt(650, "whatever the panel says");
    ProbePanel(p.link);
    EXPECT_THAT(Transcript(p.line.clock.events, false), ElementsAre("W9600 $QPW\\r\\n", "S600"));
    EXPECT_EQ(p.line.clock.events.front().at, 0U);
    EXPECT_EQ(p.line.clock.now, 1600U);
    EXPECT_EQ(p.line.peer.Pending(), 0U);
}

TEST(HandshakeTest, PanelInfo) {
    const struct {
        std::string reply;
        std::optional<PanelVersions> expected;
    } cases[] = {
        {"%return 206 3\r\n", PanelVersions{206, 3}},
        {"%return 205 2\r\n", PanelVersions{205, 2}},
        {"", std::nullopt},
        {"%return 206\r\n", std::nullopt},
        {"OK 206 3\r\n", std::nullopt},
    };
    for (const auto& c : cases) {
        Panel p;
        p.line.peer.SendAt(0, "%return 1 1\r\n"); // stale, must not be taken for the answer
        p.panel.infoReply = c.reply;
        const auto info = RequestPanelInfo(p.link);
        ASSERT_EQ(info.has_value(), c.expected.has_value()) << c.reply;
        if (info) {
            EXPECT_EQ(info->firmwareVersion, c.expected->firmwareVersion);
            EXPECT_EQ(info->hardwareVersion, c.expected->hardwareVersion);
        }
        EXPECT_THAT(Transcript(p.line.clock.events, false), ElementsAre("W9600 %reqinfo\\n", "S100")) << c.reply;
        EXPECT_EQ(p.line.clock.now, 1100U) << c.reply; // a reply shorter than 200 bytes costs the whole second
    }
}

TEST(DownloadTest, BlocksAreFetchedUntilWhole) {
    using Reply = std::function<std::string(const std::string& layout, std::int32_t index, int request)>;
    const Reply thousands = [](const std::string& layout, std::int32_t index, int) {
        return ScriptedPanel::BlockReply(layout.substr(static_cast<std::size_t>(index) * 1000, 1000));
    };
    const struct {
        const char* name;
        std::int32_t size;
        Reply reply;
        std::vector<std::string> requests;
        std::vector<int> positions;
    } cases[] = {
        {"five blocks of 1000", 5000, thousands, {"0", "1", "2", "3", "4"}, {0, 200, 400, 600, 800}},
        {"blocks of 600 end to end",
         1500,
         [](const std::string& layout, std::int32_t index, int) {
             return ScriptedPanel::BlockReply(layout.substr(static_cast<std::size_t>(index) * 600, 600));
         },
         {"0", "1", "2"},
         {0, 400, 800}},
        {"bad CRC: same index, count unchanged",
         2000,
         [&](const std::string& layout, std::int32_t index, int request) {
             const std::string data = layout.substr(static_cast<std::size_t>(index) * 1000, 1000);
             return request == 1 ? ScriptedPanel::BlockReply(1000, 12345, data) : ScriptedPanel::BlockReply(data);
         },
         {"0", "1", "1"},
         {0, 500, 500}},
        {"length 0 is discarded",
         2000,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 0 ? ScriptedPanel::BlockReply(0, 0, "%return 1\r\n") : thousands(layout, index, request);
         },
         {"0", "0", "1"},
         {0, 0, 500}},
        {"length 1001 is discarded",
         2000,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 0 ? ScriptedPanel::BlockReply(1001, 0, "%return 1\r\n")
                                 : thousands(layout, index, request);
         },
         {"0", "0", "1"},
         {0, 0, 500}},
        {"a long bad block is drained before asking again",
         2000,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 0 ? ScriptedPanel::BlockReply(-1, 0, std::string(1000, '\xFF'))
                                 : thousands(layout, index, request);
         },
         {"0", "0", "1"},
         {0, 0, 500}},
        {"short data",
         2000,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 0 ? thousands(layout, index, request).substr(0, 1007)
                                 : thousands(layout, index, request);
         },
         {"0", "0", "1"},
         {0, 0, 500}},
        {"no answer at all",
         2000,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 0 ? std::string() : thousands(layout, index, request);
         },
         {"0", "0", "1"},
         {0, 0, 500}},
        {"incomplete header",
         2000,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 0 ? std::string("\xE8\x03\x00", 3) : thousands(layout, index, request);
         },
         {"0", "0", "1"},
         {0, 0, 500}},
        {"a block longer than what is missing counts as damaged",
         1500,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 1
                        ? ScriptedPanel::BlockReply(std::string(1000, 'z'))
                        : ScriptedPanel::BlockReply(layout.substr(static_cast<std::size_t>(index) * 1000, 1000));
         },
         {"0", "1", "1"},
         {0, 666, 666}},
        {"a final block one byte too long is asked for again",
         2500,
         [&](const std::string& layout, std::int32_t index, int request) {
             return request == 2
                        ? ScriptedPanel::BlockReply(layout.substr(2000) + "z")
                        : ScriptedPanel::BlockReply(layout.substr(static_cast<std::size_t>(index) * 1000, 1000));
         },
         {"0", "1", "2", "2"},
         {0, 400, 800, 800}},
    };
    for (const auto& c : cases) {
        Panel p;
        const std::string layout = TestBytes(static_cast<std::size_t>(c.size));
        p.panel.sizeReply = "%return " + std::to_string(c.size) + " 77\r\n";
        p.panel.blockReply = [&](std::int32_t index, int request) { return c.reply(layout, index, request); };
        const DownloadResult result = DownloadLayout(p.link);
        ASSERT_EQ(result.outcome, DownloadResult::Outcome::Downloaded) << c.name;
        EXPECT_EQ(result.announcedSize, c.size) << c.name;
        EXPECT_EQ(std::string(result.bytes.begin(), result.bytes.end()), layout) << c.name;
        EXPECT_THAT(p.BlockRequests(), ElementsAreArray(c.requests)) << c.name;
        EXPECT_THAT(p.line.observer.positions, ElementsAreArray(c.positions)) << c.name;
        EXPECT_EQ(p.line.peer.speed, 9600U) << c.name;
        EXPECT_LE(p.line.observer.LongestSilence(0, p.line.clock.now), 20U) << c.name;
    }
}

TEST(DownloadTest, ExactSequence) {
    Panel p;
    const std::string layout = TestBytes(2000);
    p.panel.sizeReply = "%return 2000 0\r\n";
    p.panel.blockReply = [&](std::int32_t index, int) {
        return ScriptedPanel::BlockReply(layout.substr(static_cast<std::size_t>(index) * 1000, 1000));
    };
    static_cast<void>(DownloadLayout(p.link));
    EXPECT_THAT(Transcript(p.line.clock.events, false),
                ElementsAre("W9600 %highbaud\\n", "S100", "B115200", "S700", "W115200 %reqlayout\\n",
                            "W115200 %reqblock 0\\n", "W115200 %reqblock 1\\n", "S20", "W115200 %lowbaud\\n", "S100",
                            "B9600"));
}

TEST(DownloadTest, SizeReplies) {
    const struct {
        std::string reply;
        DownloadResult::Outcome outcome;
        std::int32_t size;
    } cases[] = {
        {"%error\r\n", DownloadResult::Outcome::NoReply, 0},
        {"%return abc 1\r\n", DownloadResult::Outcome::NoReply, 0},
        {"%return 99999999999 0\r\n", DownloadResult::Outcome::NoReply, 0},
        {"%return 4 0\r\n", DownloadResult::Outcome::InvalidSize, 4},
        {"%return 0 0\r\n", DownloadResult::Outcome::InvalidSize, 0},
        {"%return -5 0\r\n", DownloadResult::Outcome::InvalidSize, -5},
        {"%return 1048577 0\r\n", DownloadResult::Outcome::InvalidSize, 1048577},
        {"%return 2147483647 0\r\n", DownloadResult::Outcome::InvalidSize, 2147483647},
        {"%return 5 0\r\n", DownloadResult::Outcome::Downloaded, 5}, // the smallest layout
    };
    for (const auto& c : cases) {
        Panel p;
        p.panel.sizeReply = c.reply;
        p.panel.blockReply = [](std::int32_t, int) { return ScriptedPanel::BlockReply("12345"); };
        const DownloadResult result = DownloadLayout(p.link);
        EXPECT_EQ(result.outcome, c.outcome) << c.reply;
        EXPECT_EQ(result.announcedSize, c.size) << c.reply;
        const bool unreadable = c.outcome == DownloadResult::Outcome::NoReply;
        EXPECT_EQ(result.sizeReply, unreadable ? c.reply : "") << c.reply;
        const bool downloaded = c.outcome == DownloadResult::Outcome::Downloaded;
        EXPECT_EQ(std::string(result.bytes.begin(), result.bytes.end()), downloaded ? "12345" : "") << c.reply;
        EXPECT_EQ(p.BlockRequests().size(), downloaded ? 1U : 0U) << c.reply;
        const auto transcript = Transcript(p.line.clock.events, false);
        EXPECT_THAT(std::vector(transcript.end() - 4, transcript.end()),
                    ElementsAre("S20", "W115200 %lowbaud\\n", "S100", "B9600"))
            << c.reply;
    }
}

TEST(DownloadTest, AHangUpAfterTheLastBlockKeepsTheLayout) {
    const struct {
        const char* name;
        std::string sizeReply;
        bool kept;
    } cases[] = {
        {"whole layout", "%return 2000 0\r\n", true},
        {"unanswered size", "%error\r\n", false},
    };
    for (const auto& c : cases) {
        Panel p;
        const std::string layout = TestBytes(2000);
        p.panel.sizeReply = c.sizeReply;
        p.panel.blockReply = [&](std::int32_t index, int) {
            return ScriptedPanel::BlockReply(layout.substr(static_cast<std::size_t>(index) * 1000, 1000));
        };
        p.panel.onCommand = [&](const std::string& line) {
            if (line == "%lowbaud\n")
                p.line.peer.VanishAt(p.line.clock.now + 1);
        };
        if (!c.kept) {
            EXPECT_THROW(static_cast<void>(DownloadLayout(p.link)), CSerialException) << c.name;
            continue;
        }
        const DownloadResult result = DownloadLayout(p.link);
        EXPECT_EQ(result.outcome, DownloadResult::Outcome::Downloaded) << c.name;
        EXPECT_EQ(std::string(result.bytes.begin(), result.bytes.end()), layout) << c.name;
        ASSERT_TRUE(result.lineLost) << c.name;
        EXPECT_THROW(std::rethrow_exception(result.lineLost), CSerialException) << c.name;
    }
}

TEST(PayloadTransferTest, TheFinalReplyIsHandedBack) {
    const std::string payload = TestBytes(1500);
    for (const std::string reply : {"%return 0\r\n", "%return 1\r\n", "%return 0\r\nmore", "?"}) {
        Panel upload;
        upload.panel.trailerReply = reply;
        EXPECT_EQ(UploadLayout(upload.link, AsSpan(payload), 512000), reply);
        EXPECT_EQ(upload.line.peer.speed, 9600U);
        Panel firmware;
        firmware.panel.trailerReply = reply;
        EXPECT_EQ(UpgradeFirmware(firmware.link, AsSpan(payload)), reply);
    }
    const struct {
        std::string reply;
        std::size_t most;
        std::string shown;
    } shownCases[] = {
        {"%return abc 0\r\n", 60, "%return abc 0\\r\\n"},
        {std::string("\0\x7F\xFF\t", 4), 60, "????"},
        {"0123456789", 10, "0123456789"},
        {"0123456789", 9, "012345678..."},
        {"", 0, ""},
    };
    for (const auto& c : shownCases)
        EXPECT_EQ(ShownReply(c.reply, c.most), c.shown) << c.most;
    EXPECT_EQ(UnacknowledgedText("%return 1\r\n\x01", "layout"),
              "The control answered \"%return 1\\r\\n?\" instead of \"%return 0\\r\\n\"; it may not have taken the "
              "layout\r\n");
}

TEST(PayloadTransferTest, FirmwareOf2500Bytes) {
    Panel p;
    const std::string firmware = TestBytes(2500);
    EXPECT_EQ(UpgradeFirmware(p.link, AsSpan(firmware)), "%return 0\r\n");
    ASSERT_EQ(p.panel.packets.size(), 3U);
    EXPECT_EQ(p.panel.packets[2].substr(12, 500), firmware.substr(2000));
    ASSERT_EQ(p.panel.trailers.size(), 1U);
    const auto* trailer = reinterpret_cast<const std::uint8_t*>(p.panel.trailers[0].data());
    EXPECT_EQ(GetLittleEndian32(trailer), 2U);
    EXPECT_EQ(GetLittleEndian32(trailer + 4), 2500U);
    EXPECT_EQ(std::to_string(GetLittleEndian32(trailer + 8)), Crc(firmware));
    EXPECT_THAT(p.line.observer.positions, ElementsAre(0, 400, 800, 1000));
    const auto transcript = Transcript(p.line.clock.events, false);
    EXPECT_THAT(std::vector(transcript.end() - 4, transcript.end()),
                ElementsAre("W115200 %lowbaud\\n", "S100", "B9600", "S100"));
}

TEST(PayloadTransferTest, RefusalsSendNothing) {
    const std::string empty;
    const std::string huge(512001, 'x');
    const std::string largest(512000, 'x');
    const struct {
        const char* name;
        std::function<void(LinkFraming&)> run;
        bool refused;
    } cases[] = {
        {"empty layout", [&](LinkFraming& l) { static_cast<void>(UploadLayout(l, AsSpan(empty), 512000)); }, true},
        {"layout above 512000", [&](LinkFraming& l) { static_cast<void>(UploadLayout(l, AsSpan(huge), 512000)); },
         true},
        {"layout above a smaller capacity",
         [&](LinkFraming& l) { static_cast<void>(UploadLayout(l, AsSpan(largest), 511999)); }, true},
        {"empty firmware", [&](LinkFraming& l) { static_cast<void>(UpgradeFirmware(l, AsSpan(empty))); }, true},
        {"layout of 512000", [&](LinkFraming& l) { static_cast<void>(UploadLayout(l, AsSpan(largest), 512000)); },
         false},
    };
    for (const auto& c : cases) {
        Panel p;
        if (c.refused) {
            EXPECT_THROW(c.run(p.link), TransferRefused) << c.name;
            EXPECT_TRUE(p.line.clock.events.empty()) << c.name;
        } else {
            c.run(p.link);
            EXPECT_EQ(p.panel.packets.size(), 513U) << c.name;
        }
    }
}

TEST(PayloadTransferTest, RebootIsOneWrite) {
    Panel p;
    Reboot(p.link);
    EXPECT_THAT(Transcript(p.line.clock.events), ElementsAre("W9600 %reboot\\n"));
}

} // namespace
