#pragma once

#include "link/LinkProtocol.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class LinkFraming;
class SerialIo;

// The exchanges the application and zylctl run with a panel, each over an open port at 9600
// bits per second (CSerialPort::Open, then SetImmediateReads). Each ends at 9600 in every
// outcome that returns. Any of them may throw:
//   CSerialException   the device failed or went away; the port is unusable, close it.
//   TransferCancelled  the observer was cancelled; panel and port are back at 9600 where
//                      that was possible, and the port stays usable.
//   TransferRefused    only where noted; thrown before anything is sent.

// Status log lines, exactly as the main window shows them.
inline constexpr std::string_view kNoResponseText =
    "No response after connection\r\nFirmware version may be pre 2.00\r\n";
inline constexpr std::string_view kDownloadedText = "Downloaded layout from control\r\n";
inline constexpr std::string_view kFirmwareUpdatedText =
    "Firmware updated\r\nControl will restart automaticaly\r\nDisconnected\r\n";
// "Connected Succesfully\r\nHardware Version: <hw>\r\nFirmware Version: <fw>\r\n".
std::string ConnectedText(const PanelVersions& versions);

// The connection probe: discards what is waiting, sends "$QPW\r\n", waits 600 ms and
// discards up to 200 bytes that arrive within 1000 ms. Returns nothing, whatever the panel says.
void ProbePanel(LinkFraming& link);

// The handshake: discards what is waiting, sends "%reqinfo\n", waits 100 ms and reads up to
// 200 bytes within 1000 ms. Returns the versions, or nothing when the reply does not begin
// with "%return" or its two numbers cannot be read (log kNoResponseText; the panel stays
// connected but unidentified). With versions, log ConnectedText(versions).
std::optional<PanelVersions> RequestPanelInfo(LinkFraming& link);

struct DownloadResult {
    enum class Outcome {
        Downloaded,  // bytes holds the whole layout; decode, then log kDownloadedText
        NoReply,     // the size request went unanswered (or unreadable); log nothing
        InvalidSize, // the panel announced a size of 4 or less or above kMaxDownloadBytes
    };
    Outcome outcome = Outcome::NoReply;
    // The size the panel announced (Downloaded and InvalidSize).
    std::int32_t announcedSize = 0;
    // Downloaded: exactly announcedSize bytes. The first four are not interpreted; the layout
    // image proper starts at bytes[4], and the decoder is given the full count bytes.size().
    std::vector<std::uint8_t> bytes;
};

// The layout download: speeds up, asks "%reqlayout\n" for the size, fetches "%reqblock <n>\n"
// blocks until all bytes have arrived whole (a damaged block is asked for again, without
// limit), slows down. Progress runs in thousandths of the bytes received.
DownloadResult DownloadLayout(LinkFraming& link);

// Sends an encoded layout image with "%endlayout\n" and the upload pauses. Nothing in the
// reply after the trailer is interpreted; nothing is logged. Throws TransferRefused for an
// empty image or one above kMaxLayoutImageBytes.
void UploadLayout(LinkFraming& link, std::span<const std::uint8_t> image);

// Sends a firmware file's bytes with "%endblock\n" and the firmware pauses, then waits 100 ms
// for the panel to take it. The panel restarts by itself: the caller closes the port and logs
// kFirmwareUpdatedText. Throws TransferRefused for an empty file or one whose length does not
// fit the 32-bit fields.
void UpgradeFirmware(LinkFraming& link, std::span<const std::uint8_t> firmware);

// Writes "%reboot\n"; nothing is read and the port stays open at 9600.
void Reboot(SerialIo& io);
