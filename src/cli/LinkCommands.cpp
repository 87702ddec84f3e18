#include "LinkCommands.h"

#include "Zylctl.h"
#include "layout/TLayout.h"
#include "link/PortEnumeration.h"
#include "link/SteadyLinkClock.h"
#include "link/TimeLeftEstimate.h"
#include "link/TransferObserver.h"
#include "session/Session.h"
#include "session/SessionHost.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted = true;
}

// Ctrl-C asks the running transfer to stop instead of killing the program mid-packet, so the
// panel gets back to its idle speed.
class InterruptGuard {
public:
    InterruptGuard() {
        interrupted = false;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previousInt);
        sigaction(SIGTERM, &action, &previousTerm);
    }
    ~InterruptGuard() {
        sigaction(SIGINT, &previousInt, nullptr);
        sigaction(SIGTERM, &previousTerm, nullptr);
    }

private:
    struct sigaction previousInt {};
    struct sigaction previousTerm {};
};

// Progress and the time left on standard error when that is a terminal; Ctrl-C cancels.
class ConsoleProgress : public TransferObserver {
public:
    ConsoleProgress(std::ostream& err, bool reading) : err(err), reading(reading), show(::isatty(STDERR_FILENO)) {}
    void progress(int permille) override {
        if (!show)
            return;
        estimate.Update(permille, clock.NowMs());
        const std::string timeLeft = estimate.Text();
        if (permille / 10 == shown && timeLeft == shownTimeLeft)
            return;
        shown = permille / 10;
        shownTimeLeft = timeLeft;
        std::string line = std::string(reading ? "Reading Data From The Control " : "Writing Data to the Control ") +
                           std::to_string(shown) + "% " + timeLeft;
        // Spaces over whatever a longer line before left.
        const std::size_t length = line.size();
        line.resize(std::max(length, shownLength), ' ');
        shownLength = length;
        err << '\r' << line << std::flush;
    }
    bool cancelled() override { return interrupted; }
    void finish() {
        if (show && shown >= 0)
            err << '\n';
    }

private:
    std::ostream& err;
    bool reading;
    bool show;
    int shown = -1;
    std::string shownTimeLeft;
    std::size_t shownLength = 0;
    SteadyLinkClock clock;
    TimeLeftEstimate estimate;
};

// Ctrl-C, for the exchanges that show no progress.
class InterruptWatch : public TransferObserver {
public:
    bool cancelled() override { return interrupted; }
};

class ConsoleHost : public SessionHost {
public:
    ConsoleHost(std::ostream& err, std::string firmware) : err(err), firmware(std::move(firmware)) {}
    TransferObserver& BeginProgress(bool reading) override {
        current = std::make_unique<ConsoleProgress>(err, reading);
        return *current;
    }
    void EndProgress() override {
        if (current)
            current->finish();
        current.reset();
    }
    TransferObserver& Watcher() override { return watch; }
    std::optional<std::string> ChooseFirmwareFile() override {
        if (firmware.empty())
            return std::nullopt;
        return firmware;
    }
    void ShowMessage(const std::string&) override {} // the session's LastProblem() says it too

private:
    std::ostream& err;
    std::string firmware;
    std::unique_ptr<ConsoleProgress> current;
    InterruptWatch watch;
};

// Each "...\r\n" line of the main window's log as a line of its own.
void PrintLogLines(std::ostream& err, const std::string& command, std::string_view logged) {
    for (std::size_t end; (end = logged.find("\r\n")) != std::string_view::npos; logged.remove_prefix(end + 2))
        err << "zylctl " << command << ": " << logged.substr(0, end) << '\n';
}

int failed(std::ostream& err, const std::string& command, const std::string& why) {
    err << "zylctl " << command << ": " << why << '\n';
    return kExitBadInput;
}

// The panel holds layouts a little larger than a template file does; the advice to remove images
// that saving gives fits an edited layout, not one just taken from the panel.
std::optional<std::string> TooLargeForTemplate(TLayout& layout, const std::string& file) {
    const auto image = layout.Encode(std::numeric_limits<std::int32_t>::max());
    if (!image || image->size() + 4 <= static_cast<std::size_t>(TLayout::kTemplateCapacity))
        return std::nullopt;
    return "the layout from the control would take " + std::to_string(image->size() + 4) +
           " bytes as a template file, which holds at most " + std::to_string(TLayout::kTemplateCapacity) +
           ", so it cannot be kept in \"" + file +
           "\"; nothing was written. It can still be edited and uploaded: Connect in the main window downloads it "
           "for editing";
}

} // namespace

int RunLinkCommand(const std::string& command, const std::string& device, const std::vector<std::string>& operands,
                   std::ostream& out, std::ostream& err, const LinkTiming& timing,
                   const Session::UploadOptions& upload) {
    // The file of download, upload and firmware; a missing one fails as an unreadable file.
    const std::string file = operands.empty() ? std::string() : operands.front();
    TLayout layout;
    std::string error;
    if (command == "upload" && !layout.LoadTemplate(file, &error))
        return failed(err, command, error);

    InterruptGuard interruptGuard;
    ConsoleHost host(err, command == "firmware" ? file : std::string());
    Session session(
        layout, host, [] { return std::vector<PortEntry>{}; }, nullptr, timing);

    if (command == "download") {
        session.OnConnect(device);
        // A layout that arrived whole is saved even when the line failed afterwards.
        if (session.LayoutReceived() && !layout.SaveTemplate(file, &error))
            return failed(err, command, TooLargeForTemplate(layout, file).value_or(error));
        if (!session.LastProblem().empty())
            return failed(err, command, session.LastProblem());
        return kExitOk;
    }
    if (command == "firmware") {
        session.OnUpgradeFirmware(device);
        return session.LastProblem().empty() ? kExitOk : failed(err, command, session.LastProblem());
    }

    session.Identify(device);
    if (!session.LastProblem().empty() && !(command == "reboot" && session.Connected()))
        return failed(err, command, session.LastProblem());
    if (command == "info") {
        out << "Hardware Version: " << session.Versions()->hardwareVersion << '\n'
            << "Firmware Version: " << session.Versions()->firmwareVersion << '\n';
        return kExitOk;
    }
    if (command == "upload") {
        if (!session.IsEnabled(Session::Command::UploadLayout))
            return failed(err, command,
                          "the control's firmware (" + std::to_string(session.Versions()->firmwareVersion) +
                              ") does not take layout uploads; 206 or later is needed");
        session.SetUploadOptions(upload);
        const std::size_t logBefore = session.Log().size();
        session.OnUploadLayout();
        // A good upload logs only notes (such as a fall-back to the full reply windows, which
        // says why it took long); a failed one is told by its problem alone.
        if (session.LastProblem().empty())
            PrintLogLines(err, command, std::string_view(session.Log()).substr(logBefore));
    } else {
        session.OnReboot();
    }
    return session.LastProblem().empty() ? kExitOk : failed(err, command, session.LastProblem());
}

CommandRun DefineLinkCommand(CLI::App& command) {
    // The file operand of the commands that take one.
    static const std::map<std::string, std::pair<const char*, const char*>> kOperands = {
        {"download", {"OUT.zyl", "the template file to write"}},
        {"upload", {"IN.zyl", "the template file whose layout to send"}},
        {"firmware", {"FILE.zfw", "the firmware file to send"}},
    };
    const std::string name = command.get_name();
    auto operands = std::make_shared<std::vector<std::string>>();
    if (const auto it = kOperands.find(name); it != kOperands.end()) {
        operands->resize(1);
        command.add_option(it->second.first, operands->front(), it->second.second)->required();
    }
    auto upload = std::make_shared<Session::UploadOptions>();
    if (name == "upload") {
        command.add_flag("--verify", upload->verify,
                         "read the layout back afterwards and compare it with what was sent");
        command.add_flag("--full-windows", upload->fullWindows,
                         "wait the full 500 ms reply window after every block, as firmware\n"
                         "does, instead of going on at the acknowledgement: for a panel or\n"
                         "adapter that loses or delays replies");
    }
    return [name, operands, upload](const CommandContext& context) {
        return RunLinkCommand(name, context.device, *operands, context.out, context.err, LinkTiming{}, *upload);
    };
}

int RunPortsCommand(std::ostream& out, std::ostream& err, const std::function<std::vector<PortEntry>()>& list) {
    // A tab or line break inside a name would break the one-line-per-port form.
    const auto oneLine = [](std::string text) {
        for (char& c : text) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = ' ';
        }
        return text;
    };
    const std::vector<PortEntry> ports = list();
    for (const PortEntry& port : ports)
        out << oneLine(port.device) << '\t' << oneLine(port.label) << '\n';
    if (ports.empty())
        err << "zylctl ports: no serial ports found\n";
    return kExitOk;
}

CommandRun DefinePortsCommand(CLI::App&) {
    return [](const CommandContext& context) {
        return RunPortsCommand(context.out, context.err, [] { return EnumeratePorts(); });
    };
}
