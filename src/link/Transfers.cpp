#include "link/Transfers.h"

#include "link/CSerialException.h"
#include "link/Crc32.h"
#include "link/LinkFraming.h"
#include "link/TransferCancelled.h"
#include "link/TransferObserver.h"
#include "link/TransferRefused.h"

#include <array>
#include <cstring>
#include <limits>
#include <utility>

namespace {

// Blocks whose data could not make up the rest of the layout are refused like damaged ones,
// so nothing is ever written past the announced size.
std::vector<std::uint8_t> ReceiveBlocks(LinkFraming& link, std::int32_t size) {
    const LinkTiming& timing = link.Timing();
    std::vector<std::uint8_t> layout(static_cast<std::size_t>(size));
    std::array<std::uint8_t, kBlockDataBytes> block{};
    std::int32_t received = 0;
    std::int32_t index = 0;
    while (received < size) {
        link.Observer().progress(static_cast<int>(static_cast<std::int64_t>(received) * 1000 / size));
        link.Write(BlockRequestCommand(index));
        std::array<std::uint8_t, 2 * kBlockHeaderFieldBytes> header{};
        const std::size_t lengthBytes = link.Read(header.data(), kBlockHeaderFieldBytes, timing.blockHeaderDeadline);
        const std::size_t crcBytes =
            link.Read(header.data() + kBlockHeaderFieldBytes, kBlockHeaderFieldBytes, timing.blockHeaderDeadline);
        if (lengthBytes < kBlockHeaderFieldBytes || crcBytes < kBlockHeaderFieldBytes) {
            // Less than a header in two seconds: the panel has gone quiet and will say no more
            // until asked again, so wait for quiet rather than for a reply.
            link.FlushUntilQuiet();
            continue;
        }
        const auto length = static_cast<std::int32_t>(GetLittleEndian32(header.data()));
        const std::uint32_t crc = GetLittleEndian32(header.data() + kBlockHeaderFieldBytes);
        if (length < 1 || length > static_cast<std::int32_t>(kBlockDataBytes)) {
            // A full window means the panel is still sending what it meant as data: drain it,
            // or its bytes would be read as the next headers.
            if (link.AwaitReply().size() == kReplyWindowBytes)
                link.FlushUntilQuiet();
            continue;
        }
        const auto wanted = static_cast<std::size_t>(length);
        const std::size_t got = link.Read(block.data(), wanted, timing.blockDataDeadline);
        if (got != wanted || Crc32(block.data(), wanted) != crc || length > size - received)
            continue;
        std::memcpy(layout.data() + received, block.data(), wanted);
        received += length;
        ++index;
    }
    return layout;
}

} // namespace

std::string ConnectedText(const PanelVersions& versions) {
    return "Connected Succesfully\r\nHardware Version: " + std::to_string(versions.hardwareVersion) +
           "\r\nFirmware Version: " + std::to_string(versions.firmwareVersion) + "\r\n";
}

std::string FullWindowsText(std::int32_t block) {
    return "The control did not acknowledge block " + std::to_string(block) +
           " at once; the rest of the upload waits the full reply windows\r\n";
}

void ProbePanel(LinkFraming& link) {
    const LinkTiming& timing = link.Timing();
    link.FlushPending(kProbeFlushChunk);
    link.Write(kProbeCommand);
    link.Pause(timing.probeSettle);
    std::array<std::uint8_t, kReplyWindowBytes> discarded{};
    link.Read(discarded.data(), discarded.size(), timing.probeReadDeadline);
}

std::optional<PanelVersions> RequestPanelInfo(LinkFraming& link, std::string* reply) {
    const LinkTiming& timing = link.Timing();
    link.FlushPending(kInfoFlushChunk);
    link.Write(kInfoRequest);
    link.Pause(timing.infoSettle);
    std::array<std::uint8_t, kReplyWindowBytes> bytes{};
    const std::size_t received = link.Read(bytes.data(), bytes.size(), timing.infoReadDeadline);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), received);
    if (reply)
        *reply = text;
    return ParsePanelInfo(text);
}

DownloadResult DownloadLayout(LinkFraming& link) {
    const LinkTiming& timing = link.Timing();
    DownloadResult result;
    link.SwitchToHighSpeed(timing.downloadSpeedUpPause);
    try {
        link.Write(kLayoutRequest);
        std::string reply = link.AwaitReply();
        const auto size = ParseLayoutSize(reply);
        if (!size) {
            result.outcome = DownloadResult::Outcome::NoReply;
            result.sizeReply = std::move(reply);
        } else if (*size <= 4 || *size > kMaxDownloadBytes) {
            result.outcome = DownloadResult::Outcome::InvalidSize;
            result.announcedSize = *size;
        } else {
            result.announcedSize = *size;
            result.bytes = ReceiveBlocks(link, *size);
            result.outcome = DownloadResult::Outcome::Downloaded;
        }
    } catch (const TransferCancelled&) {
        link.ReturnToIdleSpeed(timing.downloadSlowDownPause);
        throw;
    }
    try {
        link.SwitchToLowSpeed(timing.downloadSlowDownPause);
    } catch (const CSerialException&) {
        // A panel that hangs up after the last block has still given the whole layout.
        if (result.outcome != DownloadResult::Outcome::Downloaded)
            throw;
        result.lineLost = std::current_exception();
    }
    return result;
}

std::string UploadLayout(LinkFraming& link, std::span<const std::uint8_t> image, std::size_t capacity, bool fullWindows,
                         std::function<void(std::int32_t block)> fellBack) {
    if (image.empty())
        throw TransferRefused("The layout image is empty; nothing was sent.");
    if (image.size() > capacity)
        throw TransferRefused("The layout takes " + std::to_string(image.size()) + " bytes, more than the " +
                              std::to_string(capacity) +
                              " the control can hold. Remove some user images and try again.");
    return link.SendPayload(image, LayoutUploadParameters(link.Timing(), fullWindows, std::move(fellBack)));
}

std::string UpgradeFirmware(LinkFraming& link, std::span<const std::uint8_t> firmware) {
    if (firmware.empty())
        throw TransferRefused("The firmware file is empty; nothing was sent.");
    if (firmware.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - kBlockDataBytes)
        throw TransferRefused("The firmware file is too large to send.");
    std::string reply = link.SendPayload(firmware, FirmwareParameters(link.Timing()));
    // The panel is taking the firmware in; a cancel now would change nothing.
    link.Pause(link.Timing().firmwareBeforeClose, false);
    return reply;
}

void Reboot(LinkFraming& link) {
    link.Write(kRebootCommand);
}

std::string ShownReply(std::string_view reply, std::size_t most) {
    std::string shown;
    for (std::size_t i = 0; i < reply.size(); ++i) {
        if (i == most)
            return shown + "...";
        const char c = reply[i];
        if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else if (c >= 0x20 && c < 0x7F)
            shown += c;
        else
            shown += '?';
    }
    return shown;
}

std::string UnacknowledgedText(std::string_view reply, std::string_view what) {
    const std::string shown = ShownReply(reply, reply.size());
    return "The control answered \"" + shown + "\" instead of \"%return 0\\r\\n\"; it may not have taken the " +
           std::string(what) + "\r\n";
}
