#pragma once

#include "FakeSerialPeer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A panel made of answers: it reads the command lines, packets and trailers the tool writes
// to a FakeSerialPeer and answers after `replyDelay` virtual ms as the test scripts it.
class ScriptedPanel {
public:
    ScriptedPanel(FakeSerialPeer& peer, FakeLinkClock& clock);

    std::uint32_t replyDelay = 5;
    std::string infoReply = "%return 206 3\r\n";
    std::string sizeReply;
    // Answer to "%reqblock <index>" (the n-th request overall is `request`, from 0).
    std::function<std::string(std::int32_t index, int request)> blockReply;
    // Answer to the n-th block packet overall.
    std::function<std::string(int packet)> packetReply = [](int) { return std::string("%return 0\r\n"); };
    std::string trailerReply = "%return 0\r\n";
    // Told of every command line as it arrives, after it is noted.
    std::function<void(const std::string& line)> onCommand;

    // What arrived.
    std::vector<std::string> commands; // every line, with its line end
    std::vector<std::string> packets;  // 1012 bytes each
    std::vector<std::string> trailers; // 12 bytes each

    // A block reply in the panel's format: length, CRC-32, data.
    static std::string BlockReply(const std::string& data);
    static std::string BlockReply(std::int32_t length, std::uint32_t crc, const std::string& data);

private:
    void Take(std::string_view bytes);
    void Reply(const std::string& text);

    FakeSerialPeer& peer;
    FakeLinkClock& clock;
    std::string input;
    std::size_t binaryExpected = 0;
    bool binaryIsTrailer = false;
    int requests = 0;
};
