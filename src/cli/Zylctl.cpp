#include "Zylctl.h"

#include "LayoutFileKind.h"
#include "LayoutJson.h"
#include "LinkCommands.h"
#include "RenderCommand.h"
#include "layout/FileIo.h"
#include "layout/TLayout.h"

#include <algorithm>
#include <functional>
#include <span>

namespace {

// The command's operands (the words after its name), the --port device or empty, and the streams.
using RunCommand = std::function<int(const std::vector<std::string>& operands, const std::string& device,
                                     std::ostream& out, std::ostream& err)>;

constexpr std::size_t kOwnArguments = static_cast<std::size_t>(-1);

struct Command {
    const char* name;
    const char* synopsis; // its line in the overview, without the program name
    const char* summary;  // the rest of that line
    const char* usage;
    const char* help;
    bool needsPort;
    std::size_t operands; // kOwnArguments: the command reads its arguments itself
    RunCommand run;
};

// Loads FILE as whichever kind it is and hands it on; false with the reason when it is no valid file.
[[nodiscard]] bool
withFile(const std::string& path, std::string& error, const std::function<void(const TLayout&)>& onTemplate,
         const std::function<void(const TUserPage&, const std::vector<std::unique_ptr<TImageEntry>>&)>& onPage) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, TLayout::kUploadCapacity, bytes, &error))
        return false;
    const std::string name = "\"" + path + "\"";
    switch (KindOfLayoutFile(bytes)) {
    case LayoutFileKind::Template: {
        TLayout layout;
        if (!layout.LoadTemplateBytes(bytes, name, &error))
            return false;
        onTemplate(layout);
        return true;
    }
    case LayoutFileKind::Page: {
        TUserPage page(nullptr, u"");
        std::vector<std::unique_ptr<TImageEntry>> images;
        if (!ParsePageFile(bytes, name, page, images, &error))
            return false;
        onPage(page, images);
        return true;
    }
    case LayoutFileKind::Neither:
        break;
    }
    error = NeitherLayoutFileMessage(name);
    return false;
}

[[nodiscard]] int runNew(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    TLayout layout;
    std::string error;
    if (!layout.SaveTemplate(args[0], &error)) {
        err << "zylctl new: " << error << '\n';
        return kExitBadInput;
    }
    return kExitOk;
}

[[nodiscard]] int runDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const bool ok = withFile(
        args[0], error, [&](const TLayout& layout) { out << LayoutToJson(layout).dump(2) << '\n'; },
        [&](const TUserPage& page, const auto& images) { out << PageFileToJson(page, images).dump(2) << '\n'; });
    if (!ok) {
        err << "zylctl dump: " << error << '\n';
        return kExitBadInput;
    }
    return kExitOk;
}

[[nodiscard]] int runCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    std::string what;
    const bool ok = withFile(
        args[0], error, [&](const TLayout&) { what = "valid ZYL-1 template file"; },
        [&](const TUserPage&, const auto&) { what = "valid ZYL-1 user page file"; });
    if (!ok) {
        err << "zylctl check: " << error << '\n';
        return kExitBadInput;
    }
    out << args[0] << ": " << what << '\n';
    return kExitOk;
}

// A command that works on files only.
RunCommand local(int (*run)(const std::vector<std::string>&, std::ostream&, std::ostream&)) {
    return [run](const std::vector<std::string>& operands, const std::string&, std::ostream& out, std::ostream& err) {
        return run(operands, out, err);
    };
}

// A command that talks to the control on the --port device.
Command linkCommand(const char* name, const char* synopsis, const char* summary) {
    return {name,
            synopsis,
            summary,
            LinkCommandUsage(name),
            LinkCommandHelp(name),
            true,
            LinkCommandOperands(name),
            [name](const std::vector<std::string>& operands, const std::string& device, std::ostream& out,
                   std::ostream& err) { return RunLinkCommand(name, device, operands, out, err); }};
}

// Every command, in the overview's order.
std::span<const Command> commands() {
    static const Command table[] = {
        {"new", "new OUT.zyl", "write the template of a fresh layout", "usage: zylctl new OUT.zyl",
         "Writes the template file of a freshly started program's layout to OUT.zyl.", false, 1, local(runNew)},
        {"dump", "dump FILE", "print a template (.zyl) or page file (.zup) as JSON", "usage: zylctl dump FILE",
         "Prints FILE, a template (.zyl) or user page file (.zup), as JSON on standard output.", false, 1,
         local(runDump)},
        {"check", "check FILE", "tell whether FILE is a valid template or page file", "usage: zylctl check FILE",
         "Exits 0 when FILE is a valid template or user page file, else 1 with the reason on standard error.", false, 1,
         local(runCheck)},
        {"render", "render FILE", "draw a page of a template or page file into a PNG file", kRenderUsage, kRenderHelp,
         false, kOwnArguments, local(RunRenderCommand)},
        linkCommand("info", "--port DEVICE info", "print the control's hardware and firmware versions"),
        linkCommand("download", "--port DEVICE download OUT.zyl", "read the control's layout into a template file"),
        linkCommand("upload", "--port DEVICE upload IN.zyl", "write a template's layout into the control"),
        linkCommand("firmware", "--port DEVICE firmware FILE.zfw", "send a firmware file to the control"),
        linkCommand("reboot", "--port DEVICE reboot", "restart the control"),
    };
    return table;
}

const Command* findCommand(const std::string& name) {
    const auto all = commands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Command& c) { return name == c.name; });
    return it == all.end() ? nullptr : &*it;
}

// One group of the overview, its synopses in a column two spaces wider than the longest.
void listCommands(std::ostream& out, bool needsPort) {
    std::size_t width = 0;
    for (const Command& c : commands()) {
        if (c.needsPort == needsPort)
            width = std::max(width, std::string_view(c.synopsis).size());
    }
    for (const Command& c : commands()) {
        if (c.needsPort == needsPort)
            out << "  " << c.synopsis << std::string(width + 2 - std::string_view(c.synopsis).size(), ' ') << c.summary
                << '\n';
    }
}

void printOverview(std::ostream& out) {
    out << "usage: zylctl COMMAND [ARGS]\n\n"
           "The command-line face of ZYLMosaics, the ZYL-1 panel tool.\n\n"
           "commands:\n";
    listCommands(out, false);
    out << "\ncommands that talk to a control on a serial port:\n";
    listCommands(out, true);
    out << "\nRun 'zylctl COMMAND --help' for more. Exit status: 0 success, 1 bad input, 2 usage.\n";
}

// "info, download, upload, firmware and reboot".
std::string portCommandNames() {
    std::vector<std::string> names;
    for (const Command& c : commands()) {
        if (c.needsPort)
            names.emplace_back(c.name);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

bool wantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

} // namespace

int RunZylctl(const std::vector<std::string>& allArgs, std::ostream& out, std::ostream& err) {
    std::string device;
    std::vector<std::string> args = allArgs;
    if (!args.empty() && args[0] == "--port") {
        if (args.size() < 2) {
            err << "zylctl: --port needs a device, such as /dev/ttyUSB0\n";
            return kExitUsage;
        }
        device = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    const Command* command = args.empty() ? nullptr : findCommand(args[0]);
    if (!device.empty() && (command == nullptr || !command->needsPort)) {
        err << "zylctl: --port goes with " << portCommandNames() << '\n';
        return kExitUsage;
    }
    if (args.empty()) {
        printOverview(err);
        return kExitUsage;
    }
    if (command == nullptr) {
        if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            printOverview(out);
            return kExitOk;
        }
        err << "zylctl: unknown command '" << args[0] << "'\n";
        printOverview(err);
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (wantsHelp(rest)) {
        out << command->usage << "\n\n" << command->help << '\n';
        return kExitOk;
    }
    if ((command->needsPort && device.empty()) ||
        (command->operands != kOwnArguments && rest.size() != command->operands)) {
        err << command->usage << '\n';
        return kExitUsage;
    }
    return command->run(rest, device, out, err);
}
