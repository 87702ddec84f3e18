#include "layout/AnsiCodePage.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(AnsiCodePage, ConvertsToTheCodePage) {
    struct Case {
        std::u16string text;
        std::string ansi;
    };
    const Case cases[] = {
        {u"", ""},
        {u"Plain ASCII ~", "Plain ASCII ~"},
        {u"caf\u00E9 \u00FF\u00A0", "caf\xE9 \xFF\xA0"},
        {u"\u20AC\u2122\u0178\u017E", "\x80\x99\x9F\x9E"},
        {u"\u4E2D\u6587", "??"},
        {u"a\U0001F600b", "a?b"}, // one character, one '?'
        {u"x\xD800y", "x?y"},     // lone surrogate
        {u"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
        {u"\u0080", "?"}, // C1 control that the code page replaced with the euro sign
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnicodeToAnsi(c.text), c.ansi);
    }
}

TEST(AnsiCodePage, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::u16string wide = AnsiToUnicode(all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
    EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
    EXPECT_EQ(UnicodeToAnsi(wide), all);
}

TEST(AnsiCodePage, SlotsHoldAtMostTheLimitIncludingTheNul) {
    struct Case {
        std::u16string text;
        std::size_t limit;
        bool fits;
        std::u16string stored;
    };
    const std::u16string s79(79, u'x');
    const std::u16string s80(80, u'y');
    const Case cases[] = {
        {s79, 80, true, s79},
        {s80, 80, false, std::u16string(79, u'y')},
        {u"", 80, true, u""},
        {u"\u4E2D\U0001F600!", 80, true,
         u"?"
         u"?!"},
        {u"abcdef", 4, false, u"abc"},
        {u"ab", 1, false, u""},
    };
    for (const auto& c : cases) {
        std::array<std::uint8_t, 100> slot;
        slot.fill(0xCC);
        EXPECT_EQ(StoreAnsiSlot(c.text, slot, c.limit), c.fits);
        EXPECT_EQ(LoadAnsiSlot(slot), c.stored);
        for (std::size_t i = c.stored.size(); i < c.limit; ++i)
            ASSERT_EQ(slot[i], 0) << "byte " << i << " of a slot limited to " << c.limit;
        EXPECT_EQ(slot[c.limit], 0xCC) << "bytes past the limit stay";
    }
}

TEST(AnsiCodePage, LoadingASlotWithoutNulTakesAllOfIt) {
    const std::array<std::uint8_t, 3> slot = {'a', 0xE9, 'c'};
    EXPECT_EQ(LoadAnsiSlot(slot), u"a\u00E9c");
    EXPECT_EQ(LoadAnsiSlot(std::span<const std::uint8_t>()), u"");
}

} // namespace
