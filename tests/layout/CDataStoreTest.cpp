#include "layout/CDataStore.h"
#include "ByteBuilder.h"
#include "layout/DecodeError.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::vector<std::uint8_t> result(const CDataStore& ar) {
    auto r = ar.Result();
    return {r.begin(), r.end()};
}

TEST(CDataStore, FreshStoringStreamHasNoBuffer) {
    CDataStore ar;
    EXPECT_TRUE(ar.IsStoring());
    EXPECT_EQ(ar.Position(), 0);
    EXPECT_EQ(ar.Capacity(), 0);
    EXPECT_TRUE(ar.Result().empty());
}

TEST(CDataStore, GrowsToNextMultipleOf4096StrictlyAboveNeeded) {
    struct Case {
        std::vector<std::int32_t> writes;
        std::int32_t capacity;
    };
    const Case cases[] = {
        {{4}, 4096},           {{4095}, 4096},    {{4096}, 8192}, {{4092, 4}, 4096}, // needed 4096 fits exactly
        {{4092, 5}, 8192},                                                           // needed 4097
        {{8192}, 12288}, // needed exactly 8192 still grows past it
        {{4000, 4192}, 12288}, {{1, 1, 1}, 4096},
    };
    for (const auto& c : cases) {
        CDataStore ar;
        std::int32_t total = 0;
        for (std::int32_t n : c.writes) {
            std::vector<std::uint8_t> block(static_cast<std::size_t>(n), 0x5A);
            ar.WriteBytes(block.data(), n);
            total += n;
        }
        EXPECT_EQ(ar.Capacity(), c.capacity) << "after " << c.writes.size() << " writes totalling " << total;
        EXPECT_EQ(ar.Position(), total);
    }
}

TEST(CDataStore, GrowthKeepsEarlierBytes) {
    CDataStore ar;
    ar.WriteInt(0x11223344);
    std::vector<std::uint8_t> block(8000, 0xEE);
    ar.WriteBytes(block.data(), 8000);
    ar.WriteByte(0x7F);
    auto bytes = result(ar);
    ASSERT_EQ(bytes.size(), 8005u);
    EXPECT_EQ(bytes[0], 0x44);
    EXPECT_EQ(bytes[3], 0x11);
    EXPECT_EQ(bytes[4], 0xEE);
    EXPECT_EQ(bytes[8003], 0xEE);
    EXPECT_EQ(bytes[8004], 0x7F);
}

TEST(CDataStore, ReserveSetsExactCapacityThenGrowsInSteps) {
    CDataStore ar;
    ar.Reserve(4096);
    EXPECT_EQ(ar.Capacity(), 4096);
    std::vector<std::uint8_t> block(4096, 1);
    ar.WriteBytes(block.data(), 4096);
    EXPECT_EQ(ar.Capacity(), 4096);
    ar.WriteByte(2);
    EXPECT_EQ(ar.Capacity(), 8192);
}

TEST(CDataStore, WritesLittleEndianValuesAndStrings) {
    CDataStore ar;
    ar.WriteInt(-2);
    ar.WriteByte(0xAB);
    ar.WriteString(u"abc");
    ar.WriteString(u"");
    ar.WriteString(u"\u4E2D");
    EXPECT_EQ(result(ar), ByteBuilder()
                              .raw("\xFE\xFF\xFF\xFF")
                              .u8(0xAB)
                              .raw(std::string_view("\x03\0\0\0a\0b\0c\0", 10))
                              .i32(0)
                              .i32(1)
                              .u8(0x2D)
                              .u8(0x4E)
                              .bytes);
}

TEST(CDataStore, ReadsWhatWasWritten) {
    CDataStore out;
    out.WriteInt(INT32_MIN);
    out.WriteInt(0x7FFFFFFF);
    out.WriteByte(200);
    out.WriteString(u"h\u00E9llo \U0001F600");
    const std::uint8_t raw[3] = {9, 8, 7};
    out.WriteBytes(raw, 3);
    auto bytes = result(out);

    CDataStore in(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    EXPECT_FALSE(in.IsStoring());
    EXPECT_EQ(in.ReadInt(), INT32_MIN);
    EXPECT_EQ(in.ReadInt(), 0x7FFFFFFF);
    EXPECT_EQ(in.ReadByte(), 200);
    std::u16string text;
    in.ReadString(text);
    EXPECT_EQ(text, u"h\u00E9llo \U0001F600");
    std::uint8_t back[3] = {};
    in.ReadBytes(back, 3);
    EXPECT_EQ(back[2], 7);
    EXPECT_EQ(in.Remaining(), 0);
}

TEST(CDataStore, ReadStringStopsAtFirstNulButConsumesAll) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::u16string text;
        std::int32_t advance;
    };
    const Case cases[] = {
        {{2, 0, 0, 0, 0x41, 0, 0, 0}, u"A", 8},
        {{3, 0, 0, 0, 0, 0, 0x42, 0, 0x43, 0}, u"", 10},
        {{0, 0, 0, 0}, u"", 4},
        {{2, 0, 0, 0, 0x41, 0, 0x42, 0}, u"AB", 8},
    };
    for (const auto& c : cases) {
        CDataStore in(c.bytes.data(), static_cast<std::int32_t>(c.bytes.size()));
        std::u16string text = u"old";
        in.ReadString(text);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(in.Position(), c.advance);
    }
}

TEST(CDataStore, ReadAnsiStringConvertsUpToNulAndRespectsItsField) {
    auto bytes = ByteBuilder().ansi(std::string_view("Caf\xE9\0zz", 7)).i32(3).raw("\x80xy").bytes;
    CDataStore in(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    std::u16string text;
    in.ReadAnsiString(text, 252);
    EXPECT_EQ(text, u"Caf\u00E9");
    EXPECT_EQ(in.Position(), 11);
    in.ReadAnsiString(text, 252);
    EXPECT_EQ(text, u"\u20ACxy");

    auto tooLong = ByteBuilder().ansi(std::string(253, 'x')).bytes;
    CDataStore longIn(tooLong.data(), static_cast<std::int32_t>(tooLong.size()));
    text = u"kept";
    EXPECT_THROW(longIn.ReadAnsiString(text, 252), DecodeError);
    EXPECT_EQ(text, u"kept");
    EXPECT_EQ(longIn.Position(), 0);
}

TEST(CDataStore, EachDirectionIgnoresTheOther) {
    const std::uint8_t source[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    CDataStore in(source, 8);
    in.WriteInt(42);
    in.WriteByte(1);
    in.WriteString(u"x");
    in.WriteBytes(source, 8);
    EXPECT_EQ(in.Position(), 0);
    EXPECT_EQ(in.Capacity(), 8);
    EXPECT_EQ(source[0], 1);

    CDataStore out;
    std::int32_t i = 77;
    std::uint8_t b = 5;
    std::u16string s = u"keep";
    std::uint8_t block[2] = {9, 9};
    out.ReadInt(i);
    out.ReadByte(b);
    out.ReadString(s);
    out.ReadAnsiString(s, 260);
    out.ReadBytes(block, 2);
    out.Skip(4);
    EXPECT_EQ(i, 77);
    EXPECT_EQ(b, 5);
    EXPECT_EQ(s, u"keep");
    EXPECT_EQ(block[0], 9);
    EXPECT_EQ(out.Position(), 0);
    EXPECT_EQ(out.Capacity(), 0);
}

TEST(CDataStore, RefusesToReadPastTheEnd) {
    const std::uint8_t source[6] = {0xFF, 0xFF, 0xFF, 0x7F, 0x41, 0};
    struct Case {
        const char* name;
        std::function<void(CDataStore&)> read;
    };
    const Case cases[] = {
        {"int after 4",
         [](CDataStore& a) {
             a.Skip(4);
             a.ReadInt();
         }},
        {"byte after 6",
         [](CDataStore& a) {
             a.Skip(6);
             a.ReadByte();
         }},
        {"bytes 7",
         [](CDataStore& a) {
             std::uint8_t t[7];
             a.ReadBytes(t, 7);
         }},
        {"negative bytes",
         [](CDataStore& a) {
             std::uint8_t t[1];
             a.ReadBytes(t, -1);
         }},
        {"huge string",
         [](CDataStore& a) {
             std::u16string s;
             a.ReadString(s);
         }},
        {"skip 7", [](CDataStore& a) { a.Skip(7); }},
        {"skip negative", [](CDataStore& a) { a.Skip(-4); }},
        {"huge ansi",
         [](CDataStore& a) {
             std::u16string s;
             a.ReadAnsiString(s, INT32_MAX);
         }},
    };
    for (const auto& c : cases) {
        CDataStore in(source, 6);
        EXPECT_THROW(c.read(in), DecodeError) << c.name;
        EXPECT_LE(in.Position(), in.Capacity()) << c.name;
    }
}

TEST(CDataStore, ARefusedTextNamesItsCountAsStored) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    const Case cases[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF}, "invalid text length -1 at offset 4"},
        {{0x00, 0x00, 0x00, 0x80}, "invalid text length -2147483648 at offset 4"},
        {{0x02, 0x00, 0x00, 0x00, 0x41, 0x00}, "data ends early: text of 2 characters (4 bytes) at offset 4, 2 left"},
        {{0xFF, 0xFF, 0xFF, 0x7F},
         "data ends early: text of 2147483647 characters (4294967294 bytes) at offset 4, 0 left"},
    };
    for (const auto& c : cases) {
        CDataStore in(c.bytes.data(), static_cast<std::int32_t>(c.bytes.size()));
        std::u16string s = u"kept";
        try {
            in.ReadString(s);
            ADD_FAILURE() << c.message;
        } catch (const DecodeError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(in.Position(), 0) << c.message;
        EXPECT_EQ(s, u"kept") << c.message;
    }
}

} // namespace
