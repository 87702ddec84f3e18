#include "LinkCommands.h"

#include "Zylctl.h"
#include "layout/TLayout.h"
#include "link/TransferObserver.h"
#include "session/Session.h"
#include "session/SessionHost.h"

#include <atomic>
#include <csignal>
#include <map>
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

// Progress on standard error when that is a terminal; Ctrl-C cancels.
class ConsoleProgress : public TransferObserver {
public:
    ConsoleProgress(std::ostream& err, bool reading) : err(err), reading(reading), show(::isatty(STDERR_FILENO)) {}
    void progress(int permille) override {
        if (!show || permille / 10 == shown)
            return;
        shown = permille / 10;
        err << '\r' << (reading ? "Reading Data From The Control " : "Writing Data to the Control ") << shown << "% "
            << std::flush;
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

struct LinkCommand {
    const char* usage;
    const char* help;
    std::size_t operands;
};

const std::map<std::string, LinkCommand>& linkCommands() {
    static const std::map<std::string, LinkCommand> table = {
        {"info", {"usage: zylctl --port DEVICE info", "Prints the control's hardware and firmware versions.", 0}},
        {"download",
         {"usage: zylctl --port DEVICE download OUT.zyl",
          "Reads the control's layout and writes it as a template file.", 1}},
        {"upload",
         {"usage: zylctl --port DEVICE upload IN.zyl", "Writes the layout of a template file into the control.", 1}},
        {"firmware",
         {"usage: zylctl --port DEVICE firmware FILE.zfw",
          "Sends a firmware file to the control, which then restarts by itself.", 1}},
        {"reboot", {"usage: zylctl --port DEVICE reboot", "Tells the control to restart.", 0}},
    };
    return table;
}

int failed(std::ostream& err, const std::string& command, const std::string& why) {
    err << "zylctl " << command << ": " << why << '\n';
    return kExitBadInput;
}

} // namespace

bool IsLinkCommand(const std::string& command) {
    return linkCommands().count(command) != 0;
}
const char* LinkCommandUsage(const std::string& command) {
    return linkCommands().at(command).usage;
}
const char* LinkCommandHelp(const std::string& command) {
    return linkCommands().at(command).help;
}
std::size_t LinkCommandOperands(const std::string& command) {
    return linkCommands().at(command).operands;
}

int RunLinkCommand(const std::string& command, const std::string& device, const std::vector<std::string>& operands,
                   std::ostream& out, std::ostream& err, const LinkTiming& timing) {
    TLayout layout;
    std::string error;
    if (command == "upload" && !layout.LoadTemplate(operands[0], &error))
        return failed(err, command, error);

    InterruptGuard interruptGuard;
    ConsoleHost host(err, command == "firmware" ? operands[0] : std::string());
    Session session(
        layout, host, [] { return std::vector<PortEntry>{}; }, nullptr, timing);

    if (command == "download") {
        session.OnConnect(device);
        // A layout that arrived whole is saved even when the line failed afterwards.
        if (session.LayoutReceived() && !layout.SaveTemplate(operands[0], &error))
            return failed(err, command, error);
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
        session.OnUploadLayout();
    } else {
        session.OnReboot();
    }
    return session.LastProblem().empty() ? kExitOk : failed(err, command, session.LastProblem());
}
