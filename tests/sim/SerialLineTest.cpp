#include "sim/SerialLine.h"
#include "EngineRig.h"

#include <gtest/gtest.h>

namespace {

const std::string kInfo = "%return 221 3\r\n";

struct LineRig {
    explicit LineRig(bool lineRate) : line(panel.engine, lineRate) {}
    EngineRig panel;
    SerialLine line;
};

TEST(SerialLine, PlainLineHandsBytesOverAtOnceWhateverTheSpeeds) {
    LineRig rig(false);
    rig.line.FromTool(bytes("%reqinfo\n"), 0, 115200);
    EXPECT_EQ(text(rig.line.ToTool(0, 115200)), kInfo);
    EXPECT_EQ(rig.line.NextDue(), std::nullopt);
}

TEST(SerialLine, BytesTakeTenBitTimesEachWay) {
    struct Case {
        int speed;
        const char* setup;
    };
    for (const Case c : {Case{9600, ""}, Case{115200, "%highbaud\n"}}) {
        LineRig rig(true);
        if (*c.setup != '\0') {
            rig.line.FromTool(bytes(c.setup), 0, 9600);
            rig.line.ToTool(SerialLine::ByteTime(9600) * 10, 9600);
            ASSERT_EQ(rig.panel.engine.Speed(), c.speed);
        }
        const PanelEngine::Nanos start = 20 * kMs;
        const PanelEngine::Nanos byte = SerialLine::ByteTime(c.speed);
        rig.line.FromTool(bytes("%reqinfo\n"), start, c.speed);
        const PanelEngine::Nanos heard = start + 9 * byte;
        EXPECT_EQ(rig.line.NextDue(), start + byte);
        EXPECT_EQ(text(rig.line.ToTool(heard - 1, c.speed)), "") << c.speed;
        EXPECT_EQ(text(rig.line.ToTool(heard + 14 * byte, c.speed)), kInfo.substr(0, 14)) << c.speed;
        EXPECT_EQ(rig.line.NextDue(), heard + 15 * byte);
        EXPECT_EQ(text(rig.line.ToTool(heard + 15 * byte, c.speed)), kInfo.substr(14)) << c.speed;
        EXPECT_EQ(rig.line.NextDue(), std::nullopt);
    }
    EXPECT_EQ(SerialLine::ByteTime(9600), 1'041'666);
    EXPECT_EQ(SerialLine::ByteTime(115200), 86'805);
}

TEST(SerialLine, BytesSentAtTheWrongSpeedArriveAsGarbage) {
    // The tool talks fast to a panel still at 9600: the panel hears noise and stays quiet.
    LineRig fast(true);
    fast.line.FromTool(bytes("%reqinfo\n"), 0, 115200);
    EXPECT_EQ(text(fast.line.ToTool(100 * kMs, 115200)), "");

    // The tool switches away before the reply is through: what follows is noise of the same length.
    LineRig early(true);
    early.line.FromTool(bytes("%reqinfo\n"), 0, 9600);
    const PanelEngine::Nanos heard = 9 * SerialLine::ByteTime(9600);
    const Bytes good = early.line.ToTool(heard + 5 * SerialLine::ByteTime(9600), 9600);
    const Bytes noise = early.line.ToTool(100 * kMs, 115200);
    EXPECT_EQ(text(good), kInfo.substr(0, 5));
    ASSERT_EQ(noise.size(), kInfo.size() - 5);
    for (const std::uint8_t b : noise)
        EXPECT_GE(b, 0x80);
}

TEST(SerialLine, ASpeedCommandTakesEffectWhenItsLastByteArrives) {
    LineRig rig(true);
    // Both commands in one write at 9600: the second arrives after the panel has gone fast.
    rig.line.FromTool(bytes("%highbaud\n%reqinfo\n"), 0, 9600);
    EXPECT_EQ(text(rig.line.ToTool(100 * kMs, 9600)), "");
    EXPECT_EQ(rig.panel.engine.Speed(), 115200);
    rig.line.FromTool(bytes("%reqinfo\n"), 100 * kMs, 115200);
    EXPECT_EQ(text(rig.line.ToTool(110 * kMs, 115200)), kInfo);
}

TEST(SerialLine, AFloodOfRequestsLeavesNoMoreThanTheOutputBufferBehind) {
    std::string request;
    for (int i = 0; i < 2000; ++i)
        request += "%reqblock 0\n";
    const Bytes flood = bytes(request);
    for (const bool lineRate : {false, true}) {
        LineRig rig(lineRate);
        // The tool writes it all and reads nothing until its last byte has reached the panel.
        PanelEngine::Nanos end = 0;
        for (int round = 0; round < 3; ++round)
            rig.line.FromTool(flood, 0, 9600);
        if (lineRate)
            end = 3 * static_cast<PanelEngine::Nanos>(flood.size()) * SerialLine::ByteTime(9600);
        rig.line.ToTool(end, 9600);
        const PanelEngine::Nanos later = end + 3600'000 * kMs;
        EXPECT_LE(rig.line.ToTool(later, 9600).size(), PanelEngine::kOutputCapacity) << lineRate;
        EXPECT_GT(rig.panel.engine.DroppedReplies(), 0u) << lineRate;
        // The next command is answered at once.
        rig.line.FromTool(bytes("%reqinfo\n"), later, 9600);
        EXPECT_EQ(text(rig.line.ToTool(later + 100 * kMs, 9600)), kInfo) << lineRate;
    }
}

} // namespace
