#include "sim/PanelEngine.h"

#include "base/LittleEndian.h"
#include "link/Crc32.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view kAck = "%return 0\r\n";
constexpr std::string_view kRefusal = "%return 1\r\n";

bool printable(char c) {
    return c >= 0x20 && c < 0x7F;
}

} // namespace

PanelEngine::PanelEngine(const SimOptions& options, PanelStore& store)
    : options(options), store(store), faults(options) {}

bool PanelEngine::Silent() const {
    return options.silentAfter >= 0 && commands >= static_cast<std::uint64_t>(options.silentAfter);
}

void PanelEngine::event(const std::string& text) {
    if (onEvent)
        onEvent(text);
}

void PanelEngine::reply(std::string_view text) {
    send(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void PanelEngine::send(std::span<const std::uint8_t> bytes) {
    const std::size_t held = queued + output.size();
    if (held > kOutputCapacity || bytes.size() > kOutputCapacity - held) {
        ++droppedReplies;
        event("dropped a reply of " + std::to_string(bytes.size()) + " bytes: the output buffer is full");
        return;
    }
    output.insert(output.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> PanelEngine::TakeOutput() {
    std::vector<std::uint8_t> out;
    out.swap(output);
    return out;
}

std::optional<PanelEngine::Nanos> PanelEngine::NextTimer() const {
    std::optional<Nanos> next;
    const auto consider = [&](Nanos at) { next = next ? std::min(*next, at) : at; };
    if (restartEnds)
        consider(*restartEnds);
    if (flashEnds)
        consider(*flashEnds);
    if (mode != Mode::Command)
        consider(lastByte + kFrameGap);
    return next;
}

void PanelEngine::Advance(Nanos now) {
    if (restartEnds && now >= *restartEnds) {
        restartEnds.reset();
        event("ready");
    }
    if (flashEnds && now >= *flashEnds) {
        flashEnds.reset();
        restart(now);
    }
    if (mode != Mode::Command && now - lastByte >= kFrameGap) {
        event("gave up a frame after " + std::to_string(frame.size()) + " bytes");
        mode = Mode::Command;
        frame.clear();
    }
}

void PanelEngine::Receive(std::span<const std::uint8_t> bytes, Nanos now) {
    Advance(now);
    for (const std::uint8_t byte : bytes) {
        if (restartEnds || Silent())
            continue;
        take(byte, now);
    }
}

void PanelEngine::take(std::uint8_t byte, Nanos now) {
    lastByte = now;
    if (mode == Mode::Command) {
        if (byte == '\n') {
            if (!overlong)
                command(line, now);
            line.clear();
            overlong = false;
        } else if (line.size() >= kMaxLine) {
            overlong = true;
        } else {
            line.push_back(static_cast<char>(byte));
        }
        return;
    }
    frame.push_back(byte);
    const Mode current = mode;
    const std::size_t wanted = current == Mode::Packet ? kPacketBytes : kTrailerBytes;
    if (frame.size() < wanted)
        return;
    mode = Mode::Command;
    if (current == Mode::Packet)
        packet();
    else
        trailer(current == Mode::FirmwareTrailer, now);
    frame.clear();
}

void PanelEngine::command(std::string_view text, Nanos now) {
    // Noise from a speed change may precede a command; a carriage return may end it.
    while (!text.empty() && !printable(text.front()))
        text.remove_prefix(1);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    if (text.empty())
        return;

    constexpr std::string_view kBlockRequest = "%reqblock ";
    const bool known = text == "$QPW" || text == "%reqinfo" || text == "%highbaud" || text == "%lowbaud" ||
                       text == "%reqlayout" || text.starts_with(kBlockRequest) || text == "%binblock" ||
                       text == "%endlayout" || text == "%endblock" || text == "%reboot";
    if (!known) {
        event("ignored \"" + std::string(text) + "\"");
        return;
    }
    ++commands;
    event(std::string(text));

    if (text == "$QPW") {
        reply(kAck);
    } else if (text == "%reqinfo") {
        if (options.answerInfo)
            reply("%return " + std::to_string(options.firmware) + " " + std::to_string(options.hardware) + "\r\n");
    } else if (text == "%highbaud") {
        speed = kTransferSpeed;
    } else if (text == "%lowbaud") {
        speed = kIdleSpeed;
    } else if (text == "%reqlayout") {
        download.reset();
        const auto& data = downloadData();
        reply("%return " + std::to_string(data.size()) + " " + std::to_string(Crc32(data.data(), data.size())) +
              "\r\n");
    } else if (text.starts_with(kBlockRequest)) {
        requestBlock(text.substr(kBlockRequest.size()));
    } else if (text == "%binblock") {
        mode = Mode::Packet;
        frame.clear();
    } else if (text == "%endlayout") {
        mode = Mode::LayoutTrailer;
        frame.clear();
    } else if (text == "%endblock") {
        mode = Mode::FirmwareTrailer;
        frame.clear();
    } else if (text == "%reboot") {
        restart(now);
    }
}

const std::vector<std::uint8_t>& PanelEngine::downloadData() {
    if (!download) {
        const auto& image = store.Layout();
        std::vector<std::uint8_t> data;
        data.reserve(4 + image.size());
        const auto length = static_cast<std::uint32_t>(image.size());
        for (int shift = 0; shift < 32; shift += 8)
            data.push_back(static_cast<std::uint8_t>(length >> shift));
        data.insert(data.end(), image.begin(), image.end());
        download = std::move(data);
    }
    return *download;
}

void PanelEngine::requestBlock(std::string_view digits) {
    long long index = -1;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    const auto& data = downloadData();
    const auto blockSize = static_cast<long long>(options.blockSize);
    if (ec != std::errc() || end != digits.data() + digits.size() || index < 0 ||
        index >= (static_cast<long long>(data.size()) + blockSize - 1) / blockSize) {
        event("no block " + std::string(digits));
        reply(kRefusal);
        return;
    }
    const auto from = static_cast<std::size_t>(index * blockSize);
    const std::size_t length = std::min(data.size() - from, static_cast<std::size_t>(blockSize));
    send(faults.BlockReply(std::span(data).subspan(from, length)));
}

void PanelEngine::packet() {
    const auto index = static_cast<std::int32_t>(GetLittleEndian32(frame.data()));
    const auto count = static_cast<std::int32_t>(GetLittleEndian32(frame.data() + 4));
    const std::uint32_t crc = GetLittleEndian32(frame.data() + 8);
    const std::uint8_t* data = frame.data() + 12;

    std::string fault;
    if (count < 1 || count > kMaxBlocks || index < 0 || index >= count)
        fault = "block " + std::to_string(index) + " of " + std::to_string(count) + " is out of range";
    else if (Crc32(data, kBlockData) != crc)
        fault = "block " + std::to_string(index) + " fails its CRC";
    else if (index > 0 && (!upload || upload->count != count))
        fault = "block " + std::to_string(index) + " belongs to no upload under way";
    if (!fault.empty()) {
        event(fault);
        reply(kRefusal);
        return;
    }

    bool refused = false;
    const auto answer = faults.Acknowledgement(refused);
    if (refused) {
        event("refused block " + std::to_string(index));
    } else {
        // Block 0 always opens a new upload: the tool starts every payload there.
        if (index == 0 || !upload) {
            const auto blocks = static_cast<std::size_t>(count);
            upload = Upload{count, std::vector<std::uint8_t>(blocks * kBlockData), std::vector<bool>(blocks)};
        }
        std::copy(data, data + kBlockData, upload->data.begin() + static_cast<std::ptrdiff_t>(index * kBlockData));
        upload->received[static_cast<std::size_t>(index)] = true;
    }
    send(answer);
}

std::string PanelEngine::checkTrailer(bool firmware, std::int32_t lastIndex, std::int32_t length,
                                      std::uint32_t crc) const {
    if (!upload)
        return "no blocks were received";
    if (lastIndex != upload->count - 1)
        return "the trailer names block " + std::to_string(lastIndex) + " as the last of " +
               std::to_string(upload->count);
    if (length < 1 || (static_cast<std::int64_t>(length) + 1000) / 1000 != upload->count)
        return "a length of " + std::to_string(length) + " does not fit " + std::to_string(upload->count) + " blocks";
    const auto missing = std::find(upload->received.begin(), upload->received.end(), false);
    if (missing != upload->received.end())
        return "block " + std::to_string(missing - upload->received.begin()) + " is missing";
    if (Crc32(upload->data.data(), static_cast<std::size_t>(length)) != crc)
        return "the CRC-32 of the whole payload differs";
    if (!firmware && static_cast<std::size_t>(length) > PanelStore::kLayoutCapacity)
        return "a layout of " + std::to_string(length) + " bytes is larger than the panel holds";
    return {};
}

void PanelEngine::trailer(bool firmware, Nanos now) {
    const auto lastIndex = static_cast<std::int32_t>(GetLittleEndian32(frame.data()));
    const auto length = static_cast<std::int32_t>(GetLittleEndian32(frame.data() + 4));
    const std::uint32_t crc = GetLittleEndian32(frame.data() + 8);
    const char* what = firmware ? "firmware" : "layout";

    std::string fault = checkTrailer(firmware, lastIndex, length, crc);
    if (fault.empty()) {
        const std::span<std::uint8_t> payload(upload->data.data(), static_cast<std::size_t>(length));
        if (!firmware && faults.DamageStored(payload))
            event("damaged byte " + std::to_string(options.damageStore) + " of the layout it keeps");
        std::string error;
        if (!(firmware ? store.StoreFirmware(payload, &error) : store.StoreLayout(payload, &error)))
            fault = "cannot keep it: " + error;
    }
    upload.reset();
    if (!fault.empty()) {
        event(std::string("refused the ") + what + ": " + fault);
        reply(kRefusal);
        return;
    }
    event(std::string("stored the ") + what + " (" + std::to_string(length) + " bytes)");
    reply(kAck);
    if (firmware)
        flashEnds = now + kFlashTime;
    else
        download.reset();
}

void PanelEngine::restart(Nanos now) {
    ++restarts;
    speed = kIdleSpeed;
    mode = Mode::Command;
    line.clear();
    overlong = false;
    frame.clear();
    upload.reset();
    download.reset();
    flashEnds.reset();
    restartEnds = now + kRestartTime;
    event("restarting");
}
