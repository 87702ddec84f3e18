#include "base/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

TEST(LittleEndian, ThirtyTwoBitsLowByteFirstWithoutSignExtension) {
    struct Case {
        std::array<std::uint8_t, 4> bytes;
        std::uint32_t value;
    };
    const Case cases[] = {
        {{0x00, 0x00, 0x00, 0x00}, 0x00000000U}, {{0x01, 0x00, 0x00, 0x00}, 0x00000001U},
        {{0x78, 0x56, 0x34, 0x12}, 0x12345678U}, {{0xD5, 0xCA, 0xAD, 0xAB}, 0xABADCAD5U},
        {{0x80, 0x80, 0x80, 0x80}, 0x80808080U}, {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFFU},
        {{0x00, 0x00, 0x00, 0x80}, 0x80000000U},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetLittleEndian32(c.bytes.data()), c.value) << std::hex << c.value;
        std::array<std::uint8_t, 4> written{0xEE, 0xEE, 0xEE, 0xEE};
        PutLittleEndian32(written.data(), c.value);
        EXPECT_EQ(written, c.bytes) << std::hex << c.value;
    }
}

TEST(LittleEndian, SixteenBitsLowByteFirstWithoutSignExtension) {
    struct Case {
        std::array<std::uint8_t, 2> bytes;
        std::uint16_t value;
    };
    const Case cases[] = {
        {{0x00, 0x00}, 0x0000}, {{0x34, 0x12}, 0x1234}, {{0xFF, 0x00}, 0x00FF},
        {{0x00, 0xFF}, 0xFF00}, {{0xFF, 0xFF}, 0xFFFF}, {{0x2D, 0x4E}, 0x4E2D},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetLittleEndian16(c.bytes.data()), c.value) << std::hex << c.value;
        std::array<std::uint8_t, 2> written{0xEE, 0xEE};
        PutLittleEndian16(written.data(), c.value);
        EXPECT_EQ(written, c.bytes) << std::hex << c.value;
    }
}

TEST(LittleEndian, SpanReadsStartAtTheOffsetAndWritesTouchOnlyTheirBytes) {
    std::vector<std::uint8_t> bytes = {0xAA, 0x01, 0x02, 0x03, 0x04, 0xBB};
    EXPECT_EQ(GetLittleEndian32(bytes, 1), 0x04030201U);
    EXPECT_EQ(GetLittleEndian16(bytes, 4), 0xBB04);
    PutLittleEndian32(bytes.data() + 1, 0xDDCCBBAAU);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xAA, 0xAA, 0xBB, 0xCC, 0xDD, 0xBB}));
    static_assert(GetLittleEndian32(std::array<std::uint8_t, 4>{1, 2, 3, 4}.data()) == 0x04030201U);
}

} // namespace
