#include "ScriptedPanel.h"

#include "link/Crc32.h"
#include "link/LinkProtocol.h"

ScriptedPanel::ScriptedPanel(FakeSerialPeer& peer, FakeLinkClock& clock) : peer(peer), clock(clock) {
    peer.onWrite = [this](std::string_view bytes) { Take(bytes); };
}

std::string ScriptedPanel::BlockReply(std::int32_t length, std::uint32_t crc, const std::string& data) {
    std::string reply(8, '\0');
    PutLittleEndian32(reinterpret_cast<std::uint8_t*>(reply.data()), static_cast<std::uint32_t>(length));
    PutLittleEndian32(reinterpret_cast<std::uint8_t*>(reply.data()) + 4, crc);
    return reply + data;
}

std::string ScriptedPanel::BlockReply(const std::string& data) {
    return BlockReply(static_cast<std::int32_t>(data.size()),
                      Crc32(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()), data);
}

void ScriptedPanel::Reply(const std::string& text) {
    if (!text.empty())
        peer.SendAt(clock.now + replyDelay, text);
}

void ScriptedPanel::Take(std::string_view bytes) {
    input.append(bytes);
    for (;;) {
        if (binaryExpected > 0) {
            if (input.size() < binaryExpected)
                return;
            const std::string block = input.substr(0, binaryExpected);
            input.erase(0, binaryExpected);
            binaryExpected = 0;
            if (binaryIsTrailer) {
                trailers.push_back(block);
                Reply(trailerReply);
            } else {
                packets.push_back(block);
                Reply(packetReply(static_cast<int>(packets.size()) - 1));
            }
            continue;
        }
        const std::size_t end = input.find('\n');
        if (end == std::string::npos)
            return;
        const std::string line = input.substr(0, end + 1);
        input.erase(0, end + 1);
        commands.push_back(line);
        if (onCommand)
            onCommand(line);
        if (line == kInfoRequest) {
            Reply(infoReply);
        } else if (line == kLayoutRequest) {
            Reply(sizeReply);
        } else if (line.rfind("%reqblock ", 0) == 0 && blockReply) {
            Reply(blockReply(std::stoi(line.substr(10)), requests++));
        } else if (line == kBinBlockCommand) {
            binaryExpected = kBlockPacketBytes;
            binaryIsTrailer = false;
        } else if (line == kEndLayoutCommand || line == kEndBlockCommand) {
            binaryExpected = kTrailerBytes;
            binaryIsTrailer = true;
        }
    }
}
