#include "sim/SimOptions.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : line + " ") {
        if (c != ' ') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

TEST(SimOptions, ReadsEveryOption) {
    std::string error;
    const auto o = ParseSimOptions(split("--firmware 205 --hardware 4 --no-info --block-size 600 --corrupt-every 3 "
                                         "--bad-length-every 4 --nak-every 5 --drop-every 6 --extra-every 7 "
                                         "--damage-store 1500 --show "
                                         "--line-rate --silent-after 0 --seed 4294967295 --state /tmp/x --verbose"),
                                   error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->firmware, 205);
    EXPECT_EQ(o->hardware, 4);
    EXPECT_FALSE(o->answerInfo);
    EXPECT_EQ(o->blockSize, 600);
    EXPECT_EQ(o->corruptEvery, 3);
    EXPECT_EQ(o->badLengthEvery, 4);
    EXPECT_EQ(o->nakEvery, 5);
    EXPECT_EQ(o->dropEvery, 6);
    EXPECT_EQ(o->extraEvery, 7);
    EXPECT_TRUE(o->lineRate);
    EXPECT_EQ(o->silentAfter, 0);
    EXPECT_EQ(o->damageStore, 1500);
    EXPECT_EQ(o->seed, 4294967295u);
    EXPECT_EQ(o->stateDir, "/tmp/x");
    EXPECT_TRUE(o->verbose);
    EXPECT_TRUE(o->show);
    EXPECT_FALSE(o->help);

    const auto defaults = ParseSimOptions({}, error);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->firmware, 221);
    EXPECT_EQ(defaults->hardware, 3);
    EXPECT_EQ(defaults->blockSize, 1000);
    EXPECT_LT(defaults->silentAfter, 0);
    EXPECT_LT(defaults->damageStore, 0);
    EXPECT_TRUE(defaults->answerInfo);
}

TEST(SimOptions, RefusesWhatItCannotUse) {
    for (const char* line :
         {"--block-size 0", "--block-size 1001", "--block-size", "--firmware -1", "--firmware x", "--nak-every 0",
          "--corrupt-every 2x", "--seed 4294967296", "--state", "--bogus", "--silent-after -1", "--damage-store -1"}) {
        std::string error;
        EXPECT_FALSE(ParseSimOptions(split(line), error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

} // namespace
