#pragma once

#include "link/LinkProtocol.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class LinkFraming;

// The exchanges the application and zylctl run with a panel, each over an open port at 9600
// bits per second (CSerialPort::Open, then SetImmediateReads). Each ends at 9600 in every
// outcome that returns, except a download whose line failed on the way back (lineLost). Each
// honours a cancel before it sends anything. Any of them may throw:
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
// An upload that fell back to full reply windows at block `block`.
std::string FullWindowsText(std::int32_t block);

// The connection probe: discards what is waiting, sends "$QPW\r\n", waits 600 ms and
// discards up to 200 bytes that arrive within 1000 ms. Returns nothing, whatever the panel says.
void ProbePanel(LinkFraming& link);

// The handshake: discards what is waiting, sends "%reqinfo\n", waits 100 ms and reads up to
// 200 bytes within 1000 ms. Returns the versions, or nothing when the reply does not begin
// with "%return" or its two numbers cannot be read (log kNoResponseText; the panel stays
// connected but unidentified). With versions, log ConnectedText(versions). `reply`, when given,
// receives the bytes that came, so a reply that could not be read can be shown.
[[nodiscard]] std::optional<PanelVersions> RequestPanelInfo(LinkFraming& link, std::string* reply = nullptr);

struct DownloadResult {
    enum class Outcome {
        Downloaded,  // bytes holds the whole layout; decode, then log kDownloadedText
        NoReply,     // the size reply could not be read (sizeReply holds it); log nothing
        InvalidSize, // the panel announced a size of 4 or less or above kMaxDownloadBytes
    };
    Outcome outcome = Outcome::NoReply;
    // The size the panel announced (Downloaded and InvalidSize).
    std::int32_t announcedSize = 0;
    // NoReply: the reply that came instead of a size, as received.
    std::string sizeReply;
    // Downloaded: exactly announcedSize bytes. The first four are not interpreted; the layout
    // image proper is bytes[4] to the end, and the decoder is given just those
    // bytes.size() - 4 bytes, so it cannot read past the buffer.
    std::vector<std::uint8_t> bytes;
    // Downloaded, but the device failed while switching back to 9600 (a CSerialException): the
    // bytes are whole, so decode them first, then report this and close the port.
    std::exception_ptr lineLost;
};

// The layout download: speeds up, asks "%reqlayout\n" for the size, fetches "%reqblock <n>\n"
// blocks until all bytes have arrived whole (a damaged block is asked for again, without
// limit), slows down. Progress runs in thousandths of the bytes received.
[[nodiscard]] DownloadResult DownloadLayout(LinkFraming& link);

// Sends an encoded layout image with "%endlayout\n" and the upload pauses, and returns the
// panel's reply to the trailer; the transfer ends the same whatever it is. Throws
// TransferRefused for an empty image or one above `capacity`, the panel's layout memory.
// Each block's reply window ends at the acknowledgement unless `fullWindows` is set; from the
// first block not acknowledged at once on, the windows run their full length and `fellBack` is
// told that block's index (log FullWindowsText).
[[nodiscard]] std::string UploadLayout(LinkFraming& link, std::span<const std::uint8_t> image, std::size_t capacity,
                                       bool fullWindows = false, std::function<void(std::int32_t block)> fellBack = {});

// Sends a firmware file's bytes with "%endblock\n" and the firmware pauses, then waits 100 ms
// for the panel to take it, and returns the panel's reply to the trailer. The panel restarts by
// itself: the caller closes the port and logs kFirmwareUpdatedText. Throws TransferRefused for
// an empty file or one whose length does not fit the 32-bit fields.
[[nodiscard]] std::string UpgradeFirmware(LinkFraming& link, std::span<const std::uint8_t> firmware);

// Writes "%reboot\n"; nothing is read and the port stays open at 9600.
void Reboot(LinkFraming& link);

// A reply as a message may quote it: line ends as \r and \n, other bytes outside printable ASCII
// as '?', and cut to `most` characters with "..." after it when it is longer.
std::string ShownReply(std::string_view reply, std::size_t most);

// A log line for a transfer's final reply that is not "%return 0\r\n": it quotes the reply
// and says the panel may not have taken `what`.
std::string UnacknowledgedText(std::string_view reply, std::string_view what);
