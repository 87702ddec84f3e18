#include "EngineRig.h"

#include <gtest/gtest.h>

namespace {

// One letter per reply, as the tool would judge it. Block replies: B whole, c data damaged under
// an intact header, d one data byte short, 0 / 1 a header announcing 0 / 1001 bytes followed by a
// short text to discard. Acknowledgements: A "%return 0\r\n", R "%return 1\r\n", g same length
// but damaged, s one byte short, x a stray byte after it. "-" for no reply at all.
char judgeBlock(const Bytes& reply, std::size_t expectedLength) {
    if (reply.empty())
        return '-';
    if (reply.size() < 8)
        return '?';
    const std::uint32_t length = le32(reply, 0);
    const Bytes rest(reply.begin() + 8, reply.end());
    if (length == 0 || length == 1001)
        return text(rest) == "%return 1\r\n" ? (length == 0 ? '0' : '1') : '?';
    if (length != expectedLength)
        return '?';
    if (rest.size() + 1 == length)
        return 'd';
    if (rest.size() != length)
        return '?';
    return crcOf(rest) == le32(reply, 4) ? 'B' : 'c';
}

char judgeAck(const Bytes& reply) {
    const std::string t = text(reply);
    if (t.empty())
        return '-';
    if (t == "%return 0\r\n")
        return 'A';
    if (t == "%return 1\r\n")
        return 'R';
    if (t.size() == 11)
        return 'g';
    if (t.size() == 10)
        return 's';
    if (t.size() == 12 && t.starts_with("%return 0\r\n"))
        return 'x';
    return '?';
}

// Six rounds of asking for a block and sending one: replies alternate block reply, acknowledgement.
std::string converse(const SimOptions& options) {
    EngineRig rig(options, pattern(2996));
    const Bytes payload = pattern(2500);
    std::string verdicts;
    for (int round = 0; round < 6; ++round) {
        const int index = round % 3;
        verdicts += judgeBlock(rig.send(bytes("%reqblock " + std::to_string(index) + "\n")), 1000);
        verdicts += judgeAck(rig.send(blockPacket(payload, index)));
    }
    return verdicts;
}

TEST(Faults, StrikeEveryNthReplyTheyConcern) {
    struct Case {
        const char* name;
        void (*set)(SimOptions&);
        const char* verdicts;
    };
    const Case cases[] = {
        {"none", [](SimOptions&) {}, "BABABABABABA"},
        {"corrupt every 3rd reply of both kinds", [](SimOptions& o) { o.corruptEvery = 3; }, "BAcABgBAcABg"},
        {"bad length every 2nd block reply", [](SimOptions& o) { o.badLengthEvery = 2; }, "BA0ABA1ABA0A"},
        {"refuse every 2nd good block", [](SimOptions& o) { o.nakEvery = 2; }, "BABRBABRBABR"},
        {"drop a byte of every 3rd reply", [](SimOptions& o) { o.dropEvery = 3; }, "BAdABsBAdABs"},
        {"stray byte after every 2nd acknowledgement", [](SimOptions& o) { o.extraEvery = 2; }, "BABxBABxBABx"},
        {"silent after 5 commands", [](SimOptions& o) { o.silentAfter = 5; }, "BABAB-------"},
        {"silent from the start", [](SimOptions& o) { o.silentAfter = 0; }, "------------"},
        {"one fault per reply, refusal first",
         [](SimOptions& o) {
             o.nakEvery = 2;
             o.corruptEvery = 4;
         },
         "BABRBABRBABR"},
    };
    for (const auto& c : cases) {
        SimOptions options;
        c.set(options);
        EXPECT_EQ(converse(options), c.verdicts) << c.name;
    }
}

TEST(Faults, ARefusedBlockIsNotKeptUntilItIsSentAgain) {
    SimOptions options;
    options.nakEvery = 2;
    const Bytes payload = pattern(1500);

    EngineRig skipped(options);
    EXPECT_EQ(skipped.upload(payload), (std::vector<std::string>{"%return 0\r\n", "%return 1\r\n", "%return 1\r\n"}))
        << "a trailer after a refused block finds it missing";
    EXPECT_FALSE(skipped.store.HasStoredLayout());

    EngineRig resent(options);
    EXPECT_EQ(resent.say(text(blockPacket(payload, 0))), "%return 0\r\n");
    EXPECT_EQ(resent.say(text(blockPacket(payload, 1))), "%return 1\r\n");
    EXPECT_EQ(resent.say(text(blockPacket(payload, 1))), "%return 0\r\n");
    EXPECT_EQ(resent.say(text(trailer("%endlayout\n", payload))), "%return 0\r\n");
    EXPECT_EQ(resent.store.Layout(), payload);
}

TEST(Faults, TheSeedDecidesWhatIsDamaged) {
    const auto run = [](std::uint32_t seed) {
        SimOptions options;
        options.corruptEvery = 1;
        options.seed = seed;
        EngineRig rig(options, pattern(20000));
        Bytes all;
        for (int i = 0; i < 20; ++i) {
            const Bytes reply = rig.send(bytes("%reqblock " + std::to_string(i) + "\n"));
            all.insert(all.end(), reply.begin(), reply.end());
        }
        return all;
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

TEST(Faults, SilenceAlsoIgnoresSpeedCommands) {
    SimOptions options;
    options.silentAfter = 1;
    EngineRig rig(options);
    EXPECT_EQ(rig.say("%reqinfo\n"), "%return 221 3\r\n");
    rig.say("%highbaud\n");
    EXPECT_EQ(rig.engine.Speed(), 9600);
    EXPECT_TRUE(rig.engine.Silent());
}

} // namespace
