#include "editors/SlotText.h"

#include <QString>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace {

using Slot = std::array<std::uint8_t, 12>;

Slot bytes(std::string_view text) {
    Slot slot{};
    std::copy(text.begin(), text.end(), slot.begin());
    return slot;
}

// A 12-byte slot of which the first 8 are written.
TEST(SlotText, StoreWritesTheFirstBytesAndKeepsAnUnchangedText) {
    struct Case {
        const char* name;
        std::string before;
        QString text;
        std::string after;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"empty stays empty", ""s, "", ""s},
        {"fresh text", ""s, "abc", "abc"s},
        {"same text keeps what follows its NUL", "Hi\0lo W\0xyz"s, "Hi", "Hi\0lo W\0xyz"s},
        {"new text clears what its predecessor left", "Hi\0lo W\0xyz"s, "Ho", "Ho\0\0\0\0\0\0xyz"s},
        {"shorter text is no match for a longer one", "abcd\0\0\0\0xyz"s, "ab", "ab\0\0\0\0\0\0xyz"s},
        {"longer text is no match for a shorter one", "ab\0\0\0\0\0\0xyz"s, "abcd", "abcd\0\0\0\0xyz"s},
        {"long text is cut before the NUL", ""s, "abcdefghij", "abcdefg\0"s},
        {"an unchanged text past the limit stays whole", "abcdefghxyz"s, "abcdefghxyz", "abcdefghxyz"s},
        {"an unchanged slot without a NUL stays whole", "abcdefghijkl"s, "abcdefghijkl", "abcdefghijkl"s},
        {"a changed text past the limit is cut", "abcdefghxyz"s, "abcdefghxyZ", "abcdefg\0xyz"s},
        {"seven characters fit whole", ""s, "abcdefg", "abcdefg\0"s},
        {"characters the code page lacks become '?'", ""s, QString::fromUtf16(u"a\u4E2D\u20AC\u00FC"), "a?\x80\xFC"s},
        {"a surrogate pair is one '?'", ""s, QString::fromUtf16(u"x\U0001F600y"), "x?y"s},
    };
    for (const Case& c : cases) {
        Slot slot = bytes(c.before);
        StoreSlotText(c.text, slot, 8);
        EXPECT_EQ(slot, bytes(c.after)) << c.name;
    }
}

TEST(SlotText, LoadStopsAtTheNulOrTheSlotsEnd) {
    using namespace std::string_literals;
    const std::string source = "abc\0def"s;
    const auto* data = reinterpret_cast<const std::uint8_t*>(source.data());
    struct Case {
        std::size_t size;
        QString text;
    };
    const Case cases[] = {{7, "abc"}, {3, "abc"}, {2, "ab"}, {0, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(LoadSlotText({data, c.size}), c.text) << c.size;

    const std::array<std::uint8_t, 4> high{0x80, 0xE9, 0x81, 0x00};
    EXPECT_EQ(LoadSlotText(high), QString::fromUtf16(u"\u20AC\u00E9\u0081"));
}

} // namespace
