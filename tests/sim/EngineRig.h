#pragma once

#include "link/Crc32.h"
#include "sim/PanelEngine.h"
#include "sim/PanelStore.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
constexpr PanelEngine::Nanos kMs = PanelEngine::kMillisecond;

inline Bytes bytes(std::string_view text) {
    return {text.begin(), text.end()};
}
inline std::string text(const Bytes& b) {
    return {b.begin(), b.end()};
}

inline void putLe32(Bytes& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}
inline std::uint32_t le32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
           std::uint32_t{b[at + 3]} << 24;
}
inline std::uint32_t crcOf(std::span<const std::uint8_t> b) {
    return Crc32(b.data(), b.size());
}

// A payload whose bytes all differ from their neighbours, so misplaced blocks show.
inline Bytes pattern(std::size_t length, std::uint8_t seed = 0) {
    Bytes b(length);
    for (std::size_t i = 0; i < length; ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + i / 251 + seed);
    return b;
}

// "%binblock\n" and the packet the tool sends for block `index` of `payload`.
inline Bytes blockPacket(std::span<const std::uint8_t> payload, std::int32_t index) {
    const auto count = static_cast<std::int32_t>((payload.size() + 1000) / 1000);
    Bytes data(1000, 0);
    const std::size_t from = static_cast<std::size_t>(index) * 1000;
    for (std::size_t i = 0; i < 1000 && from + i < payload.size(); ++i)
        data[i] = payload[from + i];
    Bytes out = bytes("%binblock\n");
    putLe32(out, static_cast<std::uint32_t>(index));
    putLe32(out, static_cast<std::uint32_t>(count));
    putLe32(out, crcOf(data));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// The end command and the trailer closing `payload`.
inline Bytes trailer(std::string_view command, std::span<const std::uint8_t> payload) {
    Bytes out = bytes(command);
    putLe32(out, static_cast<std::uint32_t>((payload.size() + 1000) / 1000 - 1));
    putLe32(out, static_cast<std::uint32_t>(payload.size()));
    putLe32(out, crcOf(payload));
    return out;
}

// An engine on an in-memory store, fed whole messages on a clock the test moves.
struct EngineRig {
    explicit EngineRig(SimOptions options = {}, Bytes stored = pattern(2500))
        : store("", [stored] { return stored; }), engine(options, store) {}

    // Sends the bytes at the current time and returns everything the panel answered.
    Bytes send(const Bytes& in) {
        engine.Receive(in, now);
        return engine.TakeOutput();
    }
    std::string say(std::string_view command) { return text(send(bytes(command))); }
    void wait(PanelEngine::Nanos duration) {
        now += duration;
        engine.Advance(now);
    }
    // Sends every block of the payload once, then the trailer; the replies in order.
    std::vector<std::string> upload(std::span<const std::uint8_t> payload, std::string_view end = "%endlayout\n") {
        std::vector<std::string> replies;
        for (std::int32_t i = 0; i < static_cast<std::int32_t>((payload.size() + 1000) / 1000); ++i)
            replies.push_back(text(send(blockPacket(payload, i))));
        replies.push_back(text(send(trailer(end, payload))));
        return replies;
    }
    // The download as the tool assembles it: size reply, then every block.
    Bytes download() {
        const std::string size = say("%reqlayout\n");
        const std::size_t total = std::stoul(size.substr(8));
        Bytes data;
        for (int i = 0; data.size() < total; ++i) {
            const Bytes reply = send(bytes("%reqblock " + std::to_string(i) + "\n"));
            if (reply.size() < 8)
                break;
            data.insert(data.end(), reply.begin() + 8, reply.end());
        }
        return data;
    }

    PanelStore store;
    PanelEngine engine;
    PanelEngine::Nanos now = 0;
};
