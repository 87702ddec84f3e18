#include "FakeSerialPeer.h"

#include "link/CSerialException.h"

#include <algorithm>
#include <cerrno>

void FakeSerialPeer::CheckPresent() {
    if (vanishAt && clock.now >= *vanishAt)
        throw CSerialException(EIO);
}

std::size_t FakeSerialPeer::ReadSome(std::uint8_t* buffer, std::size_t maxCount) {
    CheckPresent();
    std::size_t n = 0;
    while (n < maxCount && !incoming.empty() && incoming.front().at <= clock.now) {
        buffer[n++] = incoming.front().byte;
        incoming.pop_front();
    }
    if (n > 0)
        clock.events.push_back({LineEvent::Kind::Read, clock.now, std::string(reinterpret_cast<char*>(buffer), n), 0});
    return n;
}

bool FakeSerialPeer::WaitReadable(std::uint32_t timeoutMs) {
    CheckPresent();
    const std::uint32_t end = clock.now + timeoutMs;
    if (vanishAt && *vanishAt <= end && (incoming.empty() || incoming.front().at > *vanishAt)) {
        clock.now = *vanishAt;
        CheckPresent();
    }
    if (!incoming.empty() && incoming.front().at <= end) {
        clock.now = std::max(clock.now, incoming.front().at);
        return true;
    }
    clock.now = end;
    return false;
}

void FakeSerialPeer::WriteBytes(const std::uint8_t* data, std::size_t length) {
    WriteBytesServiced(data, length, 0, {});
}

void FakeSerialPeer::WriteBytesServiced(const std::uint8_t* data, std::size_t length, std::uint32_t sliceMs,
                                        const std::function<void()>& whileWaiting) {
    CheckPresent();
    if (stuckFrom && clock.now >= *stuckFrom) {
        constexpr std::uint32_t kStallMs = 5000;
        const std::uint32_t step = sliceMs > 0 ? sliceMs : kStallMs;
        for (std::uint32_t waited = 0; waited < kStallMs; waited += step) {
            clock.now += step;
            if (whileWaiting)
                whileWaiting();
        }
        throw CSerialException(ETIMEDOUT);
    }
    const std::string bytes(reinterpret_cast<const char*>(data), length);
    clock.events.push_back({LineEvent::Kind::Write, clock.now, bytes, speed});
    if (onWrite)
        onWrite(bytes);
}

void FakeSerialPeer::SetBaudRate(std::uint32_t bitsPerSecond) {
    CheckPresent();
    if (bitsPerSecond != 9600 && bitsPerSecond != 115200)
        throw CSerialException(EINVAL);
    speed = bitsPerSecond;
    clock.events.push_back({LineEvent::Kind::Speed, clock.now, {}, bitsPerSecond});
}

void FakeSerialPeer::SendAt(std::uint32_t at, std::string_view bytes) {
    for (const char c : bytes) {
        const Arrival arrival{at, static_cast<std::uint8_t>(c)};
        const auto place = std::upper_bound(incoming.begin(), incoming.end(), at,
                                            [](std::uint32_t t, const Arrival& a) { return t < a.at; });
        incoming.insert(place, arrival);
    }
}

void FakeSerialPeer::Trickle(std::uint32_t at, std::string_view bytes, std::uint32_t msPerByte) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        SendAt(at + static_cast<std::uint32_t>(i) * msPerByte, bytes.substr(i, 1));
}

namespace {

std::string Shown(const std::string& bytes) {
    std::string text;
    for (const char c : bytes) {
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c >= 0x20 && c < 0x7F)
            text += c;
        else
            return "<" + std::to_string(bytes.size()) + " bytes>";
    }
    return bytes.size() > 40 ? "<" + std::to_string(bytes.size()) + " bytes>" : text;
}

} // namespace

std::vector<std::string> Transcript(const std::vector<LineEvent>& events, bool withReads) {
    std::vector<std::string> lines;
    for (const auto& event : events) {
        switch (event.kind) {
        case LineEvent::Kind::Write:
            lines.push_back("W" + std::to_string(event.value) + " " + Shown(event.bytes));
            break;
        case LineEvent::Kind::Read:
            if (withReads)
                lines.push_back("R " + Shown(event.bytes));
            break;
        case LineEvent::Kind::Sleep:
            lines.push_back("S" + std::to_string(event.value));
            break;
        case LineEvent::Kind::Speed:
            lines.push_back("B" + std::to_string(event.value));
            break;
        }
    }
    return lines;
}
