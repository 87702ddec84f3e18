#pragma once

#include "link/LinkProtocol.h"
#include "link/LinkTiming.h"
#include "link/PortEnumeration.h"
#include "session/OpenedPort.h"
#include "session/PortFactory.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CSerialException;
class LinkFraming;
class SessionHost;
class TLayout;
class TransferObserver;

// The main window's logic without widgets: the port list, the connection and its state, the
// status log, and the commands that talk to the panel. The window only shows what this says
// and passes its buttons on.
class Session {
public:
    enum class State {
        Disconnected,
        Unidentified,      // connected; the panel did not answer the handshake
        Identified,        // connected; firmware 205 or lower
        IdentifiedUploads, // connected; firmware above 205
    };
    enum class Command { Connect, EditLayout, DefineUserEvents, UploadLayout, UpgradeFirmware, Reboot, Exit };

    using PortLister = std::function<std::vector<PortEntry>()>;

    // How Upload Layout runs; the main window remembers these between runs.
    struct UploadOptions {
        // Every reply window runs its full length, as for firmware, instead of ending at the
        // acknowledgement: for a panel or adapter that the faster upload troubles.
        bool fullWindows = false;
        // The layout is read back after the upload and compared with what was sent.
        bool verify = false;
    };

    // The lister defaults to this machine's serial ports; the port factory to its serial devices
    // and the real clock.
    Session(TLayout& layout, SessionHost& host, PortLister lister = {}, std::unique_ptr<PortFactory> portFactory = {},
            const LinkTiming& timing = LinkTiming{});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The ports, sorted by the text of their labels, character by character (as the port list
    // sorts them: "COM10" before "COM2").
    const std::vector<PortEntry>& Ports() const { return ports; }
    void RefreshPorts();

    // Connect to the device (a path, chosen or typed), or disconnect when connected. An empty
    // device is refused with a log line.
    void OnConnect(const std::string& device);
    void OnUploadLayout();
    // `device` is used only when no panel is connected yet.
    void OnUpgradeFirmware(const std::string& device = {});
    void OnReboot();
    // Opens the device and runs the handshake without downloading the layout: the state then is
    // what Connect would give. For callers that only talk to the panel (the command line).
    void Identify(const std::string& device);

    void SetUploadOptions(const UploadOptions& options) { uploadOptions = options; }
    const UploadOptions& GetUploadOptions() const { return uploadOptions; }

    State GetState() const { return state; }
    bool Connected() const { return state != State::Disconnected; }
    bool IsEnabled(Command command) const;
    // "Connect" or "Disconnect".
    std::string ConnectCaption() const;
    // The versions the panel gave at the last connect, if it answered.
    const std::optional<PanelVersions>& Versions() const { return versions; }
    // Everything reported so far, each line ending in "\r\n"; never cleared.
    const std::string& Log() const { return log; }
    const std::string& Device() const { return device; }
    // Why the last command did not do all it set out to do; empty when it did.
    const std::string& LastProblem() const { return lastProblem; }
    // True when the last command put a layout from the panel into the layout being edited, even
    // if it then failed (a panel that hung up after the last block).
    bool LayoutReceived() const { return layoutReceived; }

private:
    void AppendLog(std::string_view text);
    // Changes the state and lets the host show it at once.
    void SetState(State next);
    LinkFraming Framing(TransferObserver& observer);
    // Opens, probes and runs the handshake; true when the panel identified itself.
    [[nodiscard]] bool Handshake(const std::string& path);
    void OpenAndProbe(const std::string& path);
    void Connect(const std::string& path);
    void Disconnect();
    void Download(LinkFraming& link);
    // Reads the layout back after an upload and compares it with `sent`; the layout being edited
    // is never touched.
    void VerifyUpload(std::span<const std::uint8_t> sent);
    void UpgradeFirmware();
    // A device failure: report it, close the port, back to Disconnected.
    void Fail(const CSerialException& error);
    // Runs a command body, turning device failures and cancels into log lines.
    void Guard(const std::function<void()>& body, std::string_view cancelledText);

    TLayout& layout;
    SessionHost& host;
    PortLister lister;
    std::unique_ptr<PortFactory> portFactory;
    LinkTiming timing;
    std::unique_ptr<OpenedPort> port;
    std::vector<PortEntry> ports;
    State state = State::Disconnected;
    std::optional<PanelVersions> versions;
    std::string device;
    std::string log;
    std::string lastProblem;
    bool layoutReceived = false;
    UploadOptions uploadOptions;
};
