#include "EngineRig.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct CommandCase {
    const char* name;
    std::string input;
    std::string reply;
    int firmware = 221;
    int hardware = 3;
    bool answerInfo = true;
};

TEST(PanelEngine, AnswersEachCommandExactly) {
    const CommandCase cases[] = {
        {"probe", "$QPW\r\n", "%return 0\r\n"},
        {"info", "%reqinfo\n", "%return 221 3\r\n"},
        {"info with other versions", "%reqinfo\n", "%return 205 7\r\n", 205, 7},
        {"info switched off", "%reqinfo\n", "", 221, 3, false},
        {"info ended by CR LF", "%reqinfo\r\n", "%return 221 3\r\n"},
        {"noise before a command", "\x80\xfe\x01%reqinfo\n", "%return 221 3\r\n"},
        {"command without its line feed", "%reqinfo", ""},
        {"upper case is not a command", "%REQINFO\n", ""},
        {"speed commands have no reply", "%highbaud\n%lowbaud\n", ""},
        {"reboot has no reply", "%reboot\n", ""},
        {"block request template sent literally", "%%reqblock 0\n", ""},
        {"block request without a number", "%reqblock x\n", "%return 1\r\n"},
        {"block request with a negative index", "%reqblock -1\n", "%return 1\r\n"},
        {"block request past the end", "%reqblock 3\n", "%return 1\r\n"},
        {"overlong line, then a command", std::string(500, 'A') + "\n%reqinfo\n", "%return 221 3\r\n"},
        {"overlong line swallows what follows up to its line feed", std::string(500, 'A') + "%reqinfo\n", ""},
        {"two commands in one read", "%reqinfo\n$QPW\r\n", "%return 221 3\r\n%return 0\r\n"},
    };
    for (const auto& c : cases) {
        SimOptions options;
        options.firmware = c.firmware;
        options.hardware = c.hardware;
        options.answerInfo = c.answerInfo;
        EngineRig rig(options);
        EXPECT_EQ(rig.say(c.input), c.reply) << c.name;
    }
}

TEST(PanelEngine, SwitchesSpeedWhenToldAndFallsBackOnRestart) {
    EngineRig rig;
    EXPECT_EQ(rig.engine.Speed(), 9600);
    rig.say("%highbaud\n");
    EXPECT_EQ(rig.engine.Speed(), 115200);
    rig.say("%lowbaud\n");
    EXPECT_EQ(rig.engine.Speed(), 9600);
    rig.say("%highbaud\n%reboot\n");
    EXPECT_EQ(rig.engine.Speed(), 9600);
}

TEST(PanelEngine, ServesTheLayoutBehindItsLengthInBlocksOfTheChosenSize) {
    const Bytes image = pattern(2500, 3);
    Bytes expected;
    putLe32(expected, 2500);
    expected.insert(expected.end(), image.begin(), image.end());

    for (const int blockSize : {1000, 600, 1}) {
        SimOptions options;
        options.blockSize = blockSize;
        EngineRig rig(options, image);
        EXPECT_EQ(rig.say("%reqlayout\n"), "%return 2504 " + std::to_string(crcOf(expected)) + "\r\n");
        Bytes assembled;
        for (std::size_t i = 0; assembled.size() < expected.size(); ++i) {
            const Bytes reply = rig.send(bytes("%reqblock " + std::to_string(i) + "\n"));
            ASSERT_GE(reply.size(), 8u);
            const std::uint32_t length = le32(reply, 0);
            const std::size_t wanted = std::min<std::size_t>(blockSize, expected.size() - assembled.size());
            ASSERT_EQ(length, wanted) << "block " << i << " of " << blockSize;
            ASSERT_EQ(reply.size(), 8 + length);
            const Bytes data(reply.begin() + 8, reply.end());
            EXPECT_EQ(le32(reply, 4), crcOf(data));
            assembled.insert(assembled.end(), data.begin(), data.end());
        }
        EXPECT_EQ(assembled, expected) << blockSize;
        const std::size_t blocks = (expected.size() + blockSize - 1) / blockSize;
        EXPECT_EQ(rig.say("%reqblock " + std::to_string(blocks) + "\n"), "%return 1\r\n");
    }
}

TEST(PanelEngine, TakesUploadsOfEverySizeAndServesThemBack) {
    for (const std::size_t length : {std::size_t{1}, std::size_t{999}, std::size_t{1000}, std::size_t{1500},
                                     std::size_t{3000}, std::size_t{512000}}) {
        EngineRig rig;
        const Bytes payload = pattern(length, 9);
        const auto replies = rig.upload(payload);
        for (const auto& reply : replies)
            EXPECT_EQ(reply, "%return 0\r\n") << length;
        EXPECT_EQ(rig.store.Layout(), payload) << length;
        const Bytes served = rig.download();
        ASSERT_EQ(served.size(), length + 4);
        EXPECT_EQ(le32(served, 0), length);
        EXPECT_TRUE(std::equal(payload.begin(), payload.end(), served.begin() + 4)) << length;
    }
}

TEST(PanelEngine, AcceptsABlockSentAgainAndBlocksOutOfOrder) {
    EngineRig rig;
    const Bytes payload = pattern(2100, 5);
    for (const std::int32_t index : {0, 0, 2, 1, 2})
        EXPECT_EQ(rig.say(text(blockPacket(payload, index))), "%return 0\r\n");
    EXPECT_EQ(rig.say(text(trailer("%endlayout\n", payload))), "%return 0\r\n");
    EXPECT_EQ(rig.store.Layout(), payload);
}

// A good packet with one byte after the command flipped by `mask`.
Bytes spoiled(std::span<const std::uint8_t> payload, std::int32_t index, std::size_t at, std::uint8_t mask) {
    Bytes packet = blockPacket(payload, index);
    packet[10 + at] ^= mask;
    return packet;
}

TEST(PanelEngine, RefusesDamagedOrStrayBlockPackets) {
    const Bytes payload = pattern(2500);
    struct Case {
        const char* name;
        std::vector<Bytes> before;
        Bytes packet;
    };
    const Case cases[] = {
        {"data byte changed", {}, spoiled(payload, 0, 12 + 500, 0xAA)},
        {"CRC changed", {}, spoiled(payload, 0, 8, 0x01)},
        {"index past the count", {}, spoiled(payload, 0, 0, 7)},
        {"count of zero", {}, spoiled(payload, 0, 4, 3)},
        {"count above the panel's limit", {}, spoiled(payload, 0, 5, 0x20)},
        {"later block with no upload under way", {}, blockPacket(payload, 1)},
        {"later block of another count", {blockPacket(pattern(5500), 0)}, blockPacket(payload, 1)},
    };
    for (const auto& c : cases) {
        EngineRig rig;
        for (const auto& packet : c.before)
            rig.send(packet);
        EXPECT_EQ(rig.say(text(c.packet)), "%return 1\r\n") << c.name;
        EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n") << c.name << ": back at commands afterwards";
    }
}

TEST(PanelEngine, RefusesPayloadsWhoseTrailerDoesNotCheckOutAndKeepsTheOldLayout) {
    const Bytes payload = pattern(2500, 1);
    const auto withTrailer = [&](std::uint32_t lastIndex, std::uint32_t length, std::uint32_t crc) {
        Bytes out = bytes("%endlayout\n");
        putLe32(out, lastIndex);
        putLe32(out, length);
        putLe32(out, crc);
        return out;
    };
    struct Case {
        const char* name;
        std::vector<std::int32_t> blocks;
        Bytes trailer;
    };
    const Case cases[] = {
        {"whole-payload CRC differs", {0, 1, 2}, withTrailer(2, 2500, crcOf(payload) ^ 1)},
        {"a block is missing", {0, 2}, trailer("%endlayout\n", payload)},
        {"length does not fit the blocks", {0, 1, 2}, withTrailer(2, 3000, crcOf(payload))},
        {"last index is not the last block", {0, 1, 2}, withTrailer(1, 2500, crcOf(payload))},
        {"negative length", {0, 1, 2}, withTrailer(2, 0xFFFFFFFF, crcOf(payload))},
        {"no blocks at all", {}, trailer("%endlayout\n", payload)},
    };
    for (const auto& c : cases) {
        EngineRig rig;
        const Bytes before = rig.store.Layout();
        for (const std::int32_t index : c.blocks)
            ASSERT_EQ(rig.say(text(blockPacket(payload, index))), "%return 0\r\n") << c.name;
        EXPECT_EQ(rig.say(text(c.trailer)), "%return 1\r\n") << c.name;
        EXPECT_EQ(rig.store.Layout(), before) << c.name;
        EXPECT_FALSE(rig.store.HasStoredLayout()) << c.name;
    }
}

TEST(PanelEngine, RefusesALayoutLargerThanItHoldsButNotFirmwareOfThatSize) {
    const Bytes payload = pattern(512001);
    EngineRig layout;
    EXPECT_EQ(layout.upload(payload).back(), "%return 1\r\n");
    EXPECT_FALSE(layout.store.HasStoredLayout());

    EngineRig firmware;
    EXPECT_EQ(firmware.upload(payload, "%endblock\n").back(), "%return 0\r\n");
    EXPECT_EQ(firmware.store.Firmware(), payload);
}

TEST(PanelEngine, KeepsFirmwareApartFromTheLayoutThenRestarts) {
    EngineRig rig;
    const Bytes before = rig.store.Layout();
    const Bytes firmware = pattern(2500, 77);
    rig.say("%highbaud\n");
    for (const auto& reply : rig.upload(firmware, "%endblock\n"))
        EXPECT_EQ(reply, "%return 0\r\n");
    EXPECT_EQ(rig.store.Firmware(), firmware);
    EXPECT_EQ(rig.store.Layout(), before);

    EXPECT_EQ(rig.engine.Restarts(), 0);
    rig.wait(PanelEngine::kFlashTime);
    EXPECT_EQ(rig.engine.Restarts(), 1);
    EXPECT_EQ(rig.engine.Speed(), 9600);
    EXPECT_EQ(rig.say("%reqinfo\n"), "") << "deaf while restarting";
    rig.wait(PanelEngine::kRestartTime);
    EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n");
}

TEST(PanelEngine, RebootForgetsAHalfDoneUploadAndIsDeafForAWhile) {
    EngineRig rig;
    const Bytes payload = pattern(1500);
    rig.send(blockPacket(payload, 0));
    rig.say("%reboot\n");
    EXPECT_TRUE(rig.engine.Restarting());
    EXPECT_EQ(rig.engine.NextTimer(), rig.now + PanelEngine::kRestartTime);
    rig.wait(PanelEngine::kRestartTime - kMs);
    EXPECT_EQ(rig.say("%reqinfo\n"), "");
    rig.wait(kMs);
    EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n");
    EXPECT_EQ(rig.say(text(blockPacket(payload, 1))), "%return 1\r\n") << "block 0 was lost with the restart";
}

TEST(PanelEngine, GivesUpAPacketThatStallsSoLaterCommandsAreHeard) {
    EngineRig rig;
    rig.say("%binblock\n" + std::string(100, 'x'));
    EXPECT_EQ(rig.engine.NextTimer(), rig.now + PanelEngine::kFrameGap);
    EXPECT_EQ(rig.say("%reqinfo\n"), "") << "still inside the packet";
    rig.wait(PanelEngine::kFrameGap);
    EXPECT_EQ(rig.engine.NextTimer(), std::nullopt);
    EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n");

    rig.say("%endlayout\n" + std::string(5, '\0'));
    rig.wait(PanelEngine::kFrameGap);
    EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n") << "a stalled trailer too";
}

TEST(PanelEngine, ServesANewUploadFromTheNextSizeRequestOn) {
    EngineRig rig;
    const std::string size = rig.say("%reqlayout\n");
    const Bytes first = rig.send(bytes("%reqblock 0\n"));
    rig.upload(pattern(1500, 42));
    EXPECT_NE(rig.say("%reqlayout\n"), size) << "a new size request sees the new layout";
    EXPECT_EQ(le32(rig.send(bytes("%reqblock 0\n")), 8), 1500u);
    EXPECT_NE(le32(first, 8), 1500u);
}

TEST(PanelEngine, AToolThatStopsReadingCannotMakeThePanelHoldMore) {
    EngineRig rig;
    std::string flood;
    for (int i = 0; i < 20000; ++i)
        flood += "%reqblock 0\n";
    rig.engine.Receive(bytes(flood), 0);
    const Bytes held = rig.engine.TakeOutput();
    // Whole block replies only, as many as fit; the rest were dropped, not cut.
    constexpr std::size_t kBlockReply = 8 + 1000;
    EXPECT_EQ(held.size(), PanelEngine::kOutputCapacity / kBlockReply * kBlockReply);
    for (std::size_t at = 0; at < held.size(); at += kBlockReply)
        EXPECT_EQ(le32(held, at), 1000u) << at;
    EXPECT_EQ(rig.engine.DroppedReplies(), 20000 - PanelEngine::kOutputCapacity / kBlockReply);
    // Once the tool has taken what was there, the next command is answered.
    EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n");
}

TEST(PanelEngine, RepliesStillOnTheirWayTakeRoomInTheOutputBuffer) {
    struct Case {
        std::size_t queued;
        const char* command;
        std::string reply;
    };
    constexpr std::size_t kFull = PanelEngine::kOutputCapacity;
    const Case cases[] = {
        {0, "%reqinfo\n", "%return 221 3\r\n"},
        {kFull - 15, "%reqinfo\n", "%return 221 3\r\n"}, // exactly fits
        {kFull - 14, "%reqinfo\n", ""},
        {kFull - 14, "$QPW\n", "%return 0\r\n"}, // a shorter reply still fits
        {kFull, "$QPW\n", ""},
        {kFull + 100, "$QPW\n", ""},
        {kFull - 1000, "%reqblock 0\n", ""}, // a block is dropped whole, never cut
        {kFull - 1008, "%reqblock 0\n", "whole block"},
    };
    for (const auto& c : cases) {
        EngineRig rig;
        rig.engine.SetQueued(c.queued);
        const std::string reply = rig.say(c.command);
        if (c.reply == "whole block")
            EXPECT_EQ(reply.size(), 1008u) << c.queued << " " << c.command;
        else
            EXPECT_EQ(reply, c.reply) << c.queued << " " << c.command;
        EXPECT_EQ(rig.engine.DroppedReplies(), c.reply.empty() ? 1u : 0u) << c.queued << " " << c.command;
    }
}

} // namespace

namespace {

TEST(PanelEngine, SurvivesGarbageAndStillAnswersAfterwards) {
    std::mt19937 random(12345);
    const auto byte = [&] { return static_cast<std::uint8_t>(random()); };
    // Noise alone and noise mixed with the starts of real commands, so half-read packets,
    // trailers and block requests with wild numbers all occur.
    const std::string starts[] = {"%binblock\n",  "%endlayout\n", "%endblock\n", "%reqblock ",
                                  "%reqlayout\n", "%highbaud\n",  "%reboot\n"};
    EngineRig rig;
    for (int round = 0; round < 1000; ++round) {
        Bytes chunk;
        if (random() % 3 == 0) {
            const std::string& start = starts[random() % std::size(starts)];
            chunk.assign(start.begin(), start.end());
        }
        const std::size_t length = random() % 1500;
        for (std::size_t i = 0; i < length; ++i)
            chunk.push_back(random() % 5 == 0 ? static_cast<std::uint8_t>('\n') : byte());
        rig.send(chunk);
        rig.wait(random() % 3 == 0 ? PanelEngine::kFrameGap : kMs);
    }
    rig.wait(PanelEngine::kRestartTime + PanelEngine::kFrameGap);
    rig.say("\n");
    EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n");
}

} // namespace
