#include "Session.h"

#include "SessionHost.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"
#include "link/CSerialException.h"
#include "link/LinkFraming.h"
#include "link/TransferCancelled.h"
#include "link/TransferObserver.h"
#include "link/TransferRefused.h"
#include "link/Transfers.h"
#include "session/SystemPortFactory.h"

#include <algorithm>

namespace {

// Far beyond any firmware the panel takes; keeps a wrong choice from filling memory.
constexpr std::size_t kMaxFirmwareBytes = 64 * 1024 * 1024;
// A quoted reply in a message is cut here: the reply itself may run to a whole reply window.
constexpr std::size_t kShownReplyChars = 60;

// Silence and a garbled reply call for different remedies, so the message tells them apart.
std::string ReplyProblem(const std::string& request, const std::string& reply) {
    if (reply.empty())
        return "the control did not answer the request for its " + request;
    return "the control's reply to the request for its " + request + " could not be read: \"" +
           ShownReply(reply, kShownReplyChars) + "\"";
}

// The reply is quoted as the log quotes it, so a message alone says what the panel answered.
std::string UnacknowledgedProblem(const std::string& what, const std::string& reply) {
    const std::string problem = "the control did not acknowledge the " + what;
    if (reply.empty())
        return problem + ": it did not answer";
    return problem + ": it answered \"" + ShownReply(reply, kShownReplyChars) + "\" instead of \"%return 0\\r\\n\"";
}

// The read-back is judged in the upload's own blocks, so the message names the block that went
// wrong in the terms of the transfer; a different length counts from where the shorter ends.
// Empty when they agree; else the difference, without its leading article.
std::string ReadBackDifference(std::span<const std::uint8_t> sent, std::span<const std::uint8_t> back) {
    const auto differs = std::mismatch(sent.begin(), sent.end(), back.begin(), back.end()).first;
    if (differs == sent.end() && back.size() == sent.size())
        return {};
    std::string problem = "layout read back from the control differs from the one sent";
    if (back.size() != sent.size())
        problem += " (" + std::to_string(back.size()) + " bytes instead of " + std::to_string(sent.size()) + ")";
    const auto block = static_cast<std::size_t>(differs - sent.begin()) / kBlockDataBytes;
    return problem + ", first in block " + std::to_string(block) + " of " +
           std::to_string(sent.size() / kBlockDataBytes + 1);
}

// Shows the progress window for as long as it lives.
class ProgressWindow {
public:
    ProgressWindow(SessionHost& host, bool reading) : host(host), observer(host.BeginProgress(reading)) {}
    ~ProgressWindow() { host.EndProgress(); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    TransferObserver& Observer() { return observer; }

private:
    SessionHost& host;
    TransferObserver& observer;
};

} // namespace

Session::Session(TLayout& layout_, SessionHost& host_, PortLister lister_, std::unique_ptr<PortFactory> portFactory_,
                 const LinkTiming& timing_)
    : layout(layout_), host(host_), lister(std::move(lister_)), portFactory(std::move(portFactory_)), timing(timing_) {
    if (!lister)
        lister = [] { return EnumeratePorts(); };
    if (!portFactory)
        portFactory = std::make_unique<SystemPortFactory>();
    RefreshPorts();
}

Session::~Session() = default;

void Session::RefreshPorts() {
    ports = lister();
    std::stable_sort(ports.begin(), ports.end(),
                     [](const PortEntry& a, const PortEntry& b) { return a.label < b.label; });
}

bool Session::IsEnabled(Command command) const {
    switch (command) {
    case Command::UploadLayout:
        return state == State::IdentifiedUploads;
    case Command::UpgradeFirmware:
    case Command::Reboot:
        return state != State::Disconnected;
    default:
        return true;
    }
}

std::string Session::ConnectCaption() const {
    return Connected() ? "Disconnect" : "Connect";
}

void Session::AppendLog(std::string_view text) {
    log += text;
    host.LogChanged();
}

void Session::SetState(State next) {
    if (next == State::Disconnected || next == State::Unidentified)
        versions.reset();
    if (next == state)
        return;
    state = next;
    host.StateChanged();
}

LinkFraming Session::Framing(TransferObserver& observer) {
    return LinkFraming(*port, portFactory->Clock(), observer, timing);
}

void Session::Fail(const CSerialException& error) {
    lastProblem = error.what();
    AppendLog(std::string(error.what()) + "\r\n");
    // The device is gone or unusable; closing it cannot fail.
    port.reset();
    SetState(State::Disconnected);
}

void Session::Guard(const std::function<void()>& body, std::string_view cancelledText) {
    lastProblem.clear();
    layoutReceived = false;
    try {
        body();
    } catch (const CSerialException& error) {
        Fail(error);
    } catch (const TransferCancelled&) {
        lastProblem = "cancelled";
        AppendLog(cancelledText);
    } catch (const TransferRefused& refusal) {
        lastProblem = refusal.what();
        host.ShowMessage(refusal.what());
    }
}

void Session::OpenAndProbe(const std::string& path) {
    // The same device cannot be held twice: let go of it before opening again.
    port.reset();
    port = portFactory->Open(path);
    device = path;
    LinkFraming link = Framing(host.Watcher());
    ProbePanel(link);
}

void Session::OnConnect(const std::string& path) {
    lastProblem.clear();
    if (Connected()) {
        Disconnect();
        return;
    }
    if (path.empty()) {
        lastProblem = "no port chosen";
        AppendLog("No port chosen: choose the panel's port in the list or type its device path, then Connect.\r\n");
        return;
    }
    Guard([&] { Connect(path); }, "Layout download cancelled; the layout being edited is unchanged\r\n");
}

void Session::Identify(const std::string& path) {
    if (Connected())
        Disconnect();
    Guard([&] { static_cast<void>(Handshake(path)); }, "Cancelled before the control identified itself\r\n");
}

bool Session::Handshake(const std::string& path) {
    OpenAndProbe(path);
    // Connected from here on, before the handshake, so the window shows it while it waits.
    SetState(State::Unidentified);

    LinkFraming handshake = Framing(host.Watcher());
    std::string reply;
    versions = RequestPanelInfo(handshake, &reply);
    if (!versions) {
        lastProblem = ReplyProblem("versions", reply);
        AppendLog(kNoResponseText);
        return false;
    }
    // Known before the download, so a cancelled download still leaves the buttons right.
    SetState(versions->AcceptsLayoutUpload() ? State::IdentifiedUploads : State::Identified);
    AppendLog(ConnectedText(*versions));
    return true;
}

void Session::Connect(const std::string& path) {
    if (!Handshake(path))
        return;
    ProgressWindow progress(host, true);
    LinkFraming link = Framing(progress.Observer());
    Download(link);
}

void Session::Download(LinkFraming& link) {
    const DownloadResult result = DownloadLayout(link);
    switch (result.outcome) {
    case DownloadResult::Outcome::NoReply:
        // A reply always came (the wait ends only on one or on a cancel); its size could not be read.
        lastProblem = ReplyProblem("layout", result.sizeReply);
        return;
    case DownloadResult::Outcome::InvalidSize:
        lastProblem = "the control announced an impossible layout size";
        AppendLog("The control announced a layout of " + std::to_string(result.announcedSize) +
                  " bytes, which cannot be right; nothing was downloaded\r\n");
        return;
    case DownloadResult::Outcome::Downloaded:
        break;
    }
    // The image proper follows a 4-byte prefix and ends with the bytes received.
    const std::span<const std::uint8_t> image = std::span(result.bytes).subspan(4);
    std::string error;
    if (!layout.Decode(image, &error)) {
        lastProblem = "the layout from the control could not be read: " + error;
        AppendLog("The layout from the control could not be read (" + error +
                  "); the layout being edited is unchanged\r\n");
    } else {
        layoutReceived = true;
        AppendLog(kDownloadedText);
    }
    if (result.lineLost)
        std::rethrow_exception(result.lineLost);
}

void Session::Disconnect() {
    port.reset();
    SetState(State::Disconnected);
}

void Session::OnUploadLayout() {
    lastProblem.clear();
    if (!Connected()) {
        lastProblem = "not connected";
        return;
    }
    std::string error;
    const auto image = layout.Encode(TLayout::kUploadCapacity, &error);
    if (!image) {
        lastProblem = error;
        host.ShowMessage(error);
        return;
    }
    bool acknowledged = false;
    Guard(
        [&] {
            ProgressWindow progress(host, false);
            LinkFraming link = Framing(progress.Observer());
            const std::string reply = UploadLayout(link, *image, static_cast<std::size_t>(TLayout::kUploadCapacity),
                                                   uploadOptions.fullWindows,
                                                   [this](std::int32_t block) { AppendLog(FullWindowsText(block)); });
            if (!IsAcknowledgement(reply)) {
                lastProblem = UnacknowledgedProblem("layout", reply);
                AppendLog(UnacknowledgedText(reply, "layout"));
            } else {
                acknowledged = true;
            }
        },
        "Layout upload cancelled\r\n");
    // Its own progress window, in reading mode, once the upload's has gone.
    if (acknowledged && uploadOptions.verify)
        Guard([&] { VerifyUpload(*image); }, "Layout not verified: reading it back was cancelled\r\n");
}

void Session::VerifyUpload(std::span<const std::uint8_t> sent) {
    const auto notVerified = [this](const std::string& why) {
        lastProblem = "the layout was not verified: " + why;
        AppendLog("Layout not verified: " + why + "\r\n");
    };
    DownloadResult result;
    try {
        ProgressWindow progress(host, true);
        LinkFraming link = Framing(progress.Observer());
        // Whatever followed the upload's last reply must not be read as the size.
        link.FlushPending(kInfoFlushChunk);
        result = DownloadLayout(link);
    } catch (const TransferCancelled&) {
        // The upload itself went through, so the cancel is the read-back's to report.
        notVerified("reading it back was cancelled");
        return;
    }
    if (result.outcome == DownloadResult::Outcome::NoReply) {
        notVerified(ReplyProblem("layout", result.sizeReply));
    } else if (result.outcome == DownloadResult::Outcome::InvalidSize) {
        notVerified("the control announced a layout of " + std::to_string(result.announcedSize) + " bytes");
    } else {
        // The first four bytes are the panel's own and not part of the image.
        const std::string difference = ReadBackDifference(sent, std::span(result.bytes).subspan(4));
        if (difference.empty()) {
            AppendLog("Layout verified\r\n");
        } else {
            lastProblem = "the " + difference;
            AppendLog("The " + difference + "\r\n");
        }
    }
    if (result.lineLost)
        std::rethrow_exception(result.lineLost);
}

void Session::OnUpgradeFirmware(const std::string& path) {
    const bool openedHere = !Connected();
    Guard(
        [&] {
            if (!Connected()) {
                if (path.empty()) {
                    lastProblem = "no port chosen";
                    AppendLog("No port chosen: choose the panel's port first.\r\n");
                    return;
                }
                OpenAndProbe(path);
            }
            UpgradeFirmware();
        },
        "Firmware upgrade cancelled; the control keeps its firmware\r\n");
    // A port opened just for this command must not outlive it while the window shows
    // Disconnected, or no other program could take it (no file chosen, cancelled, refused).
    if (openedHere && !Connected())
        port.reset();
}

void Session::UpgradeFirmware() {
    const std::optional<std::string> file = host.ChooseFirmwareFile();
    if (!file) {
        lastProblem = "no firmware file chosen";
        return;
    }
    std::vector<std::uint8_t> firmware;
    std::string error;
    if (!ReadWholeFile(*file, kMaxFirmwareBytes, firmware, &error)) {
        lastProblem = error;
        AppendLog("Firmware not sent: " + error + "\r\n");
        return;
    }
    if (firmware.empty()) {
        lastProblem = "the firmware file is empty";
        host.ShowMessage("The firmware file \"" + *file + "\" is empty; nothing was sent.");
        return;
    }
    {
        ProgressWindow progress(host, false);
        LinkFraming link = Framing(progress.Observer());
        const std::string reply = ::UpgradeFirmware(link, firmware);
        port.reset();
        SetState(State::Disconnected);
        if (!IsAcknowledgement(reply)) {
            lastProblem = UnacknowledgedProblem("firmware", reply);
            AppendLog(UnacknowledgedText(reply, "firmware"));
        }
        AppendLog(kFirmwareUpdatedText);
    }
}

void Session::OnReboot() {
    if (!Connected()) {
        lastProblem = "not connected";
        return;
    }
    Guard(
        [&] {
            LinkFraming link = Framing(host.Watcher());
            Reboot(link);
        },
        "Reboot cancelled; nothing was sent\r\n");
}
