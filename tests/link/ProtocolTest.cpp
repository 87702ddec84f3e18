#include "link/Crc32.h"
#include "link/LinkProtocol.h"
#include "link/Transfers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace {

std::uint32_t CrcOf(const std::string& text) {
    return Crc32(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(Crc32Test, KnownValues) {
    EXPECT_EQ(CrcOf("123456789"), 0xCBF43926U);
    EXPECT_EQ(CrcOf(""), 0x00000000U);
    EXPECT_EQ(CrcOf("a"), 0xE8B7BE43U);
    EXPECT_EQ(CrcOf(std::string(1000, '\0')), 0x060B1780U);
}

// The checksum computed bit by bit, as it is defined.
std::uint32_t BitwiseCrc(const std::uint8_t* data, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1U) ? (0xEDB88320U ^ (crc >> 1)) : (crc >> 1);
    }
    return crc ^ 0xFFFFFFFFU;
}

TEST(Crc32Test, AgreesWithTheDefinitionAtAnyLengthAndAlignment) {
    std::vector<std::uint8_t> bytes(70000);
    std::uint32_t state = 12345;
    for (auto& b : bytes) {
        state = state * 1103515245U + 12345U;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    // Word-at-a-time code has head, body and tail cases around 4, 8, 32 and 64 bytes.
    for (const std::size_t offset : {0, 1, 3, 7}) {
        for (const std::size_t length :
             {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33, 63, 64, 65, 1000, 4096, 65537}) {
            EXPECT_EQ(Crc32(bytes.data() + offset, length), BitwiseCrc(bytes.data() + offset, length))
                << "offset " << offset << ", length " << length;
        }
    }
}

TEST(ProtocolTest, TrailerBytesAreLittleEndian) {
    const std::string payload = "123456789";
    const auto trailer = BuildTrailer(2, {reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size()});
    const std::array<std::uint8_t, 12> expected = {2, 0, 0, 0, 9, 0, 0, 0, 0x26, 0x39, 0xF4, 0xCB};
    EXPECT_EQ(trailer, expected);
    EXPECT_EQ(BlockRequestCommand(12), "%reqblock 12\n");
}

TEST(ProtocolTest, AcknowledgementIsTheWholeReplyOnly) {
    const struct {
        std::string reply;
        bool acknowledged;
    } cases[] = {
        {"%return 0\r\n", true},
        {"%return 0\n", false},
        {"%return 0\r", false},
        {"%return 1\r\n", false},
        {"%return 00\r\n", false},
        {"%return 0\r\nX", false},
        {" %return 0\r\n", false},
        {std::string("%return 0\r\n\0", 12), false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAcknowledgement(c.reply), c.acknowledged) << c.reply;
}

TEST(ProtocolTest, PanelInfoParsing) {
    const struct {
        std::string reply;
        bool answered;
        int firmware;
        int hardware;
    } cases[] = {
        {"%return 206 3\r\n", true, 206, 3},
        {"%return\t205\n\n  12", true, 205, 12},
        {"%return206 3", true, 206, 3}, // the numbers start right after the 7 characters
        {"%return -1 +4", true, -1, 4},
        {"%return 206\r\n", false, 0, 0}, // the hardware version is missing
        {"%return x 3", false, 0, 0},
        {"%return 99999999999 3", false, 0, 0},
        {"%retur 206 3", false, 0, 0},
        {"", false, 0, 0},
        {std::string("%return\0 206 3", 14), false, 0, 0}, // the text ends at a zero byte
    };
    for (const auto& c : cases) {
        const auto info = ParsePanelInfo(c.reply);
        ASSERT_EQ(info.has_value(), c.answered) << c.reply;
        if (info) {
            EXPECT_EQ(info->firmwareVersion, c.firmware);
            EXPECT_EQ(info->hardwareVersion, c.hardware);
        }
    }
}

TEST(ProtocolTest, LayoutSizeParsing) {
    const std::string longWord = "%return" + std::string(500, 'w');
    const struct {
        std::string reply;
        std::optional<std::int32_t> size;
    } cases[] = {
        {"%return 5000 0\r\n", 5000},
        {"%return 5000\r\n", 5000}, // the unused number may be missing
        {"%return -7 1", -7},
        {"%returned 12 1", 12},   // the word runs to the first white space
        {longWord + " 77 1", 77}, // a long word is no danger
        {"%return5000 0", 0},     // the word swallows the digits; the next number is the size
        {"%return abc 1", std::nullopt},
        {"%return", std::nullopt},
        {"%return 3000000000 1", std::nullopt},
        {"return 5000 0", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseLayoutSize(c.reply), c.size) << c.reply.substr(0, 30);
}

TEST(ProtocolTest, StatusTexts) {
    EXPECT_EQ(ConnectedText({206, 3}), "Connected Succesfully\r\nHardware Version: 3\r\nFirmware Version: 206\r\n");
    EXPECT_FALSE((PanelVersions{205, 1}.AcceptsLayoutUpload()));
    EXPECT_TRUE((PanelVersions{206, 1}.AcceptsLayoutUpload()));
}

} // namespace
